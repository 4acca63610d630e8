#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

class Estacao;
class EcraGravacao;
class GrelhaPesagens;

// The two attended saves of the weighing screen. Their input is the filled
// screen; after storing the row they print its document, keep the vehicle
// file, leave manual mode and start the screen over.
class GravacaoPesagens
{
public:
    GravacaoPesagens(Estacao& estacao, EcraGravacao& ecra, GrelhaPesagens& grelha);

    // A first weighing ("PP" or "PM") as a row of kind 'P', also in the backup.
    void GravarPrimeiraPesagem();

    // A second weighing ("SP" or "SM"): the next number of the chosen kind
    // and the vehicle's pending row (code and plate; the oldest) completed,
    // or a complete row added, in one transaction; then the backup. A manual
    // second weighing without exit weight is saved as a first one.
    void GravarSegundaPesagem();

    // The kind and number of the last document made, kept from one save to the next.
    QString TipoDocumento;
    qint32 NumeroDocumento = 0;

private:
    // The moment and origin code of the first weighing that a second one completes.
    struct Primeira
    {
        QDateTime momento;
        QString origem;
    };

    // The moment of a weighing typed in manual mode, or nothing when the date
    // or the time is not a real one.
    static std::optional<QDateTime> dataEscrita(const QString& data, const QString& hora);
    // The moment of the weighing being saved, by the mode: the clock's in the
    // bridge's mode (`ponte`), the date and time typed in the fields
    // `campoData` and `campoData` + 1 in the manual one. Any other mode, or a
    // typed moment that is not a real one, is refused with its box: nothing.
    std::optional<QDateTime> momentoDoModo(const QString& ponte, const QString& manual, int campoData,
                                           const QString& ordem, const QString& erroModo);
    // The first weighing of a second one: the one identified with the vehicle
    // (pending row or tare on file), or in manual mode what the operator typed
    // when nothing was identified or the date was typed over. Never a moment
    // left from another vehicle; refused with its box when there is none.
    std::optional<Primeira> primeiraDaSegunda(const QString& modo);
    bool pesoValido(int indice) const;
    void recusar(const QString& texto);
    // Print, vehicle file, manual mode off and start-over, after a save.
    void concluir(const QString& cabecalho);

    Estacao& m_estacao;
    EcraGravacao& m_ecra;
    GrelhaPesagens& m_grelha;
};

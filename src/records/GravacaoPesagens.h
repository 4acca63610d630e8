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
    // The moment of a weighing typed in manual mode, or nothing when the date
    // or the time is not a real one.
    static std::optional<QDateTime> dataEscrita(const QString& data, const QString& hora);
    bool pesoValido(int indice) const;
    void recusar(const QString& texto);
    // Print, vehicle file, manual mode off and start-over, after a save.
    void concluir(const QString& cabecalho);

    Estacao& m_estacao;
    EcraGravacao& m_ecra;
    GrelhaPesagens& m_grelha;
};

#pragma once

#include "records/EcraGravacao.h"

#include <QList>
#include <QMap>
#include <array>
#include <functional>

// The weighing screen as plain data, recording what the records code did to it.
class EcraGravacaoFalso : public EcraGravacao
{
public:
    QString modo;
    std::array<QString, Txt::Quantidade> campos{};
    QString b1 = QStringLiteral("B1");
    QString b2 = QStringLiteral("B2");
    int opcao = OpcaoDocumento::Nenhuma;
    QDateTime dataPrimeira;
    QMap<int, bool> marcados;
    QMap<int, bool> activos;
    bool lblPMVisivel = false;
    bool pesagemManual = false;

    int limpezas = 0;
    QList<int> alteracoes;                 // fields whose change handling ran
    QList<std::pair<int, int>> teclas;     // txt_KeyPress calls: field and key
    std::function<void(int, int)> aoTeclar;

    QString ModoPesagem() const override { return modo; }
    void setModoPesagem(const QString& m) override { modo = m; }
    QString txt(int Index) const override { return campos.at(Index); }
    void setTxt(int Index, const QString& texto) override
    {
        if (campos.at(Index) == texto)
            return;
        campos.at(Index) = texto;
        alteracoes << Index;
    }
    QString lblB1() const override { return b1; }
    QString lblB2() const override { return b2; }
    int opt() const override { return opcao; }
    QDateTime DataPrimeiraPesagem() const override { return dataPrimeira; }
    void setDataPrimeiraPesagem(const QDateTime& m) override { dataPrimeira = m; }
    bool mnuOpcMarcado(int Index) const override { return marcados.value(Index); }
    void setMnuOpcMarcado(int Index, bool m) override { marcados[Index] = m; }
    void setMnuOpcActivo(int Index, bool a) override { activos[Index] = a; }
    void setLblPMVisivel(bool v) override { lblPMVisivel = v; }
    void setPesagemManual(bool m) override { pesagemManual = m; }
    void LimparEcra() override { ++limpezas; }
    void txt_KeyPress(int Index, int& KeyAscii) override
    {
        teclas << std::pair{Index, KeyAscii};
        if (aoTeclar)
            aoTeclar(Index, KeyAscii);
        KeyAscii = 0;
    }

    // A weighing laid out on the screen: code, plate, parties, first weight.
    void preencher(const QString& codigo, const QString& matricula, const QString& pesoEntrada,
                   const QString& pesoSaida = {});
    // What the operator changed, as "modo=SM b1= opcao=1 17=30-02-2026": the mode, the origin beside the
    // first weight, the kind option or a field by its index.
    void ajustar(const QString& script);
};

#pragma once

#include "devices/EcraBascula.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

// A weighing screen driven by a test: its mode, fields and focus are set by
// the test; every write, focus move, save and automatic weighing the cycle
// asks for is logged ("txt13=12340", "foco txt0", "GravarPrimeiraPesagem",
// "PesagemAutomatica 0", ...).
class EcraBasculaFalso : public EcraBascula
{
public:
    QString modo;
    std::array<QString, 19> campos;
    std::array<bool, 2> focoCmdB = {false, false};
    std::array<bool, 2> activoCmdB = {true, true};
    QString b1, b2, liquido;
    bool tipoDocAutomatico = true;
    int opcao = -1;
    bool estaOcupado = false;
    bool falharEscrita = false;  // the next setTxt throws, as a failing screen step would
    QStringList registo;
    // Runs when the cycle asks for an automatic weighing (the test's stand-in
    // for it); by default nothing.
    std::function<void(int)> aoPesagemAutomatica;
    // Runs when a save is asked for.
    std::function<void()> aoGravar;

    // The entries of the log that start with this text.
    QStringList registado(const QString& inicio) const;

    QString ModoPesagem() const override { return modo; }
    QString txt(int indice) const override { return campos[indice]; }
    void setTxt(int indice, const QString& texto) override;
    bool cmdBComFoco(int b) const override { return focoCmdB[b]; }
    bool cmdBActivo(int b) const override { return activoCmdB[b]; }
    void setCmdBActivo(int b, bool activo) override
    {
        activoCmdB[b] = activo;
        registo << QStringLiteral("cmdB%1 activo=%2").arg(b).arg(int(activo));
    }
    QString lblB1() const override { return b1; }
    void setLblB1(const QString& t) override { registo << QStringLiteral("lblB1=") + (b1 = t); }
    QString lblB2() const override { return b2; }
    void setLblB2(const QString& t) override { registo << QStringLiteral("lblB2=") + (b2 = t); }
    QString lblLiq() const override { return liquido; }
    void setLblLiq(const QString& t) override { registo << QStringLiteral("lblLiq=") + (liquido = t); }
    bool TipoDocAutomatico() const override { return tipoDocAutomatico; }
    int optSeleccionada() const override { return opcao; }
    void seleccionarOpt(int indice) override { registo << QStringLiteral("opt%1").arg(opcao = indice); }
    void focarTxt(int indice) override { registo << QStringLiteral("foco txt%1").arg(indice); }
    void focarCmdB(int b) override { registo << QStringLiteral("foco cmdB%1").arg(b); }
    void focarCampoActual() override { registo << QStringLiteral("foco CampoActual"); }
    void GravarPrimeiraPesagem() override { gravar(QStringLiteral("GravarPrimeiraPesagem")); }
    void GravarSegundaPesagem() override { gravar(QStringLiteral("GravarSegundaPesagem")); }
    void PesagemAutomatica(int Index) override;
    bool ocupado() const override { return estaOcupado; }

private:
    void gravar(const QString& qual);
};

#pragma once

#include <QString>
#include <array>

// Everything the bridges show on the main window, as plain data. The bridge
// cycle writes it; AplicarVista copies it into the widgets, writing a
// property only when it differs.

// The light check boxes of one reader: the manual-command box (chkP / chkS),
// the red box (chkPE / chkSE) and the green box (chkPV / chkSV).
struct VistaSemaforo
{
    bool visivel = false;       // the reader is in use
    bool manualActivo = false;  // chkP / chkS enabled (access level 3 or more)
    bool manual = false;        // chkP / chkS checked
    bool coresActivas = false;  // the two colour boxes enabled (manual command)
    bool vermelho = false;      // chkPE / chkSE checked
    bool verde = false;         // chkPV / chkSV checked
};

// What the colour boxes' backgrounds show.
enum class CorSemaforo {
    Nenhuma,   // before the first decision: as designed
    Vermelho,  // red box bright red, green box the button face
    Verde,     // green box bright green, red box the button face
};

struct VistaBascula
{
    // cmdZ, lblP, lblU, lblM, lblS, cmdB and lblI: hidden while the bridge is off.
    bool controlosVisiveis = true;
    QString lblP;  // weight
    QString lblU;  // unit
    QString lblM;  // gross or net
    QString lblS;  // stability
    QString lblI;  // the bridge's message

    bool cmdZActivo = false;  // zero button
    QString cmdZ;             // its caption: "<< zero >>" while offered

    bool img1Visivel = false;  // ready for a first weighing
    bool img2Visivel = false;  // ready for a second weighing

    QString lblCP;  // card code of the principal reader
    QString lblCS;  // card code of the secondary reader

    // The bridge's light menu: "Báscula &1" / "Báscula &2" and its items 0 and 2.
    bool mnuSemaforosActivo = true;
    QString mnuSmf0 = QStringLiteral("&Comando manual");
    QString mnuSmf2 = QStringLiteral("&Encarnado");
    bool mnuSmf2Activo = true;

    VistaSemaforo principal;   // chkP, chkPE, chkPV
    VistaSemaforo secundario;  // chkS, chkSE, chkSV
    CorSemaforo cor = CorSemaforo::Nenhuma;
};

struct VistaDispositivos
{
    QString lblHor;                   // "HH:mm:ss"
    QString lblDat;                   // the long date
    QString lblPeso;                  // B1's weight and " kg"
    bool mnuSemaforosVisivel = true;  // "Semá&foros": some reader is in use
    std::array<VistaBascula, 2> bascula;
};

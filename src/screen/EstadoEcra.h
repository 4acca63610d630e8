#pragma once

#include "screen/CamposEntrada.h"
#include "screen/Controlo.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>

// One entry field as the screen holds it.
struct CampoTexto
{
    QString texto;
    bool activo = true;
    quint32 cor = Cor::Janela;
    int selInicio = 0;  // caret, or start of the selection
    int selComprimento = 0;
};

// One bridge button.
struct BotaoBascula
{
    QString legenda;
    quint32 cor = Cor::FaceBotao;
    bool activo = false;  // the bridge cycle and the weigh step enable it
};

// Everything the weighing screen shows, as plain data the window mirrors.
struct EstadoEcra
{
    std::array<CampoTexto, CamposEntrada::Numero> txt;
    QString lblB1, lblB2;  // origin of the first and of the second weight
    QString lblLiq = QStringLiteral("0");
    int opt = -1;  // document kind: -1 none, 0 "&Entrada", 1 "&Guia", 2 "&Talão"
    std::array<quint32, 3> corOpt{Cor::FaceBotao, Cor::FaceBotao, Cor::FaceBotao};
    QString fraP;              // the weighing frame's caption
    bool picQVisivel = false;  // details panel (fields 2 to 12)
    bool picPVisivel = false;  // weighing panel (fields 13 to 18)
    bool picPCompleto = true;  // the second weighing's rows shown too (height 2475, else 795)
    QStringList lst;           // quick list of plates
    bool lstVisivel = false;
    std::array<BotaoBascula, 2> cmdB;
    std::array<QString, 3> stb;  // status-bar panels
    bool lblPMVisivel = false;
    QString lblPM = QStringLiteral("Pesagem Manual");
    bool chkVtN = false;
    QHash<QString, bool> menus;   // each menu item's own enabled flag, by control name ("mnuOpc6")
    bool mnuOpc4Marcado = false;  // "Pesagem &Manual" checked
    bool janelaVisivel = false;
    Controlo foco;  // the control that has the focus
};

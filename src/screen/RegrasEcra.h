#pragma once

#include <QList>
#include <QString>
#include <array>
#include <optional>
#include <utility>

// The decision tables of the weighing screen, apart from any window: the
// weighing mode chosen at identification, the layout of each mode, the bridge
// that takes the focus at the weigh step, and the menus of each access level.
namespace RegrasEcra {

// The weighing mode for what the identification found.
QString decidirModo(bool primeiraPendente, bool viaturaEmFicheiro, bool pesagemManual, bool primeiraManual,
                    bool duasPesagens);

// How the screen is laid out for a weighing mode.
struct Disposicao
{
    bool activaApagarPrimeira = false;  // "&Apagar primeira pesagem" enabled (second weighings)
    QString titulo;                     // caption of the weighing frame
    bool todasLinhas = false;           // second weighing, net weight and document kind shown too
    int primeiroCampoAberto = -1;       // weight fields opened for typing, from..to; -1 none
    int ultimoCampoAberto = -1;
};

// Nothing for the empty mode (or any other), which only moves the focus to the plate.
std::optional<Disposicao> disposicao(const QString& modo);

// The bridge whose button takes the focus at the weigh step: the first loaded
// bridge, else the first usable one, trying B2 first for a second weighing.
// -1 when no bridge is usable.
int basculaParaPesar(const QString& modo, const std::array<bool, 2>& usavel, const std::array<bool, 2>& carregada);

// What an access level does to a menu item.
enum class EstadoItem { Ligado, Desligado, Mantido };

// The items (by control name and index, such as "mnuOpc2") that the access
// level sets, with what it does to each. Levels 1 to 4.
QList<std::pair<QString, EstadoItem>> menusDoNivel(int nivel);

// The menu of the bar that holds an item ("mnuOpc2" -> "mnuPrincipal3");
// empty for the bar's own menus.
QString menuDe(const QString& item);

}  // namespace RegrasEcra

#pragma once

#include "devices/VistaDispositivos.h"

#include <array>

class QAbstractButton;
class QAction;
class QCheckBox;
class QLabel;
class QWidget;

// The main window's widgets that show the bridges, filled in by the main
// window from its own widgets. A null pointer is skipped.
struct WidgetsBascula
{
    QAbstractButton* cmdZ = nullptr;
    QLabel* lblP = nullptr;
    QLabel* lblU = nullptr;
    QLabel* lblM = nullptr;
    QLabel* lblS = nullptr;
    QLabel* lblI = nullptr;
    QWidget* cmdB = nullptr;  // only its visibility is the cycle's; the screen owns the rest
    QWidget* img1 = nullptr;
    QWidget* img2 = nullptr;
    QLabel* lblCP = nullptr;
    QLabel* lblCS = nullptr;
    QCheckBox* chkP = nullptr;
    QCheckBox* chkPE = nullptr;
    QCheckBox* chkPV = nullptr;
    QCheckBox* chkS = nullptr;
    QCheckBox* chkSE = nullptr;
    QCheckBox* chkSV = nullptr;
    QAction* mnuSemaforos = nullptr;  // the submenu "Báscula &1" / "Báscula &2" (its menuAction)
    QAction* mnuSmf0 = nullptr;       // command item (Ctrl+F5 / Ctrl+F7)
    QAction* mnuSmf2 = nullptr;       // colour item (F5 / F7)
};

struct WidgetsDispositivos
{
    QLabel* lblHor = nullptr;
    QLabel* lblDat = nullptr;
    QLabel* lblPeso = nullptr;
    QAction* mnuPrincipal4 = nullptr;  // "Semá&foros" (its menuAction)
    std::array<WidgetsBascula, 2> bascula;
};

// Copies what the bridges show into the widgets, writing each property only
// when it differs. Check boxes are set without a click (connect the handlers
// to `clicked`, never to `toggled`), so the copy raises no handler.
void AplicarVista(const VistaDispositivos& vista, const WidgetsDispositivos& w);

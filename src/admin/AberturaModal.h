#pragma once

class QDialog;
class QWidget;

// Shows an administration dialog modal over the main window and, once it
// closes, makes the main window the active one again.
void executarModal(QDialog& janela, QWidget* principal);

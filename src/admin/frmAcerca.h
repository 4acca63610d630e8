#pragma once

#include "admin/LogicaAcerca.h"

#include <QDialog>

class Estacao;

// The about box: the application's title and version, "&Sair" and "Sis&tema".
class frmAcerca : public QDialog
{
    Q_OBJECT

public:
    explicit frmAcerca(Estacao& estacao, QWidget* parent = nullptr);

    LogicaAcerca& logica() { return m_logica; }

private:
    LogicaAcerca m_logica;
};

#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Estacao;

// The about box's texts and its "Sis&tema" button, apart from its widgets.
class LogicaAcerca
{
public:
    static const QString TituloJanela;          // "Acerca do Zumarel"
    static const QString MensagemIndisponivel;  // shown when no tool can be started

    explicit LogicaAcerca(Estacao& estacao);

    // "Versão " and the three numbers in decimal: (1, 0, 83) gives "Versão 1.0.83".
    static QString textoVersao(int maior, int menor, int revisao);
    // The version text of this build (the project's version).
    static QString versaoPrograma();

    // The system-information tools tried in turn; the first one found is started.
    QStringList ferramentas = {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
                               QStringLiteral("gnome-system-monitor"), QStringLiteral("xfce4-taskmanager")};
    // Finds a program by name; the full path, or "" when it is not installed.
    std::function<QString(const QString&)> procurar;

    // Starts the first tool found; when none is found or it does not start, says so.
    void StartSysInfo();

private:
    Estacao& m_estacao;
};

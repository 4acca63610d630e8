#pragma once

#include <QWidget>

class QTextBrowser;

// The help topics: the help page of the program's folder in a window of the
// station's own, beside the main window (not modal), so it needs no browser.
class JanelaAjuda : public QWidget
{
    Q_OBJECT

public:
    JanelaAjuda(const QString& pagina, QWidget* principal);

    // Shows the help window of this main window, made the first time, raised after.
    static JanelaAjuda* mostrar(const QString& pagina, QWidget* principal);

private:
    QTextBrowser* m_texto;
};

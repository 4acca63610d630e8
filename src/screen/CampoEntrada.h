#pragma once

#include <QLineEdit>
#include <functional>

// One entry field `txt(indice)` of the weighing screen. It hands every key,
// paste, composed text and double click to the screen, which decides what the
// field takes; it has no context menu and takes no drops, so nothing reaches
// the text around the screen's rules.
class CampoEntrada : public QLineEdit
{
    Q_OBJECT

public:
    CampoEntrada(int indice, QWidget* pai);

    int indice() const { return m_indice; }

    // A key: true when the screen dealt with it.
    std::function<bool(QKeyEvent*)> aoTeclar;
    // Text to go in as if typed (paste, an input method's commit).
    std::function<void(const QString&)> aoColar;
    std::function<void()> aoDuploClique;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    int m_indice;
};

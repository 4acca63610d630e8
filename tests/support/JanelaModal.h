#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <source_location>

// Closes every modal window above `ate` (every one, with none), the last
// opened first: its own way out first (reject, as the close box does), then by force.
inline void fecharJanelasModais(QWidget* ate = nullptr)
{
    for (int vezes = 0; vezes < 16; ++vezes) {
        QPointer<QWidget> m = QApplication::activeModalWidget();
        if (!m || m == ate)
            return;
        if (auto* d = qobject_cast<QDialog*>(m.data())) {
            d->reject();
            if (m && d->isVisible())
                d->done(QDialog::Rejected);
        } else {
            m->close();
        }
        if (m && m->isVisible())
            m->hide();
    }
}

// A time past which the work in a modal window counts as stuck (waiting in a
// window nobody closes): the test fails and every window it opened is closed.
constexpr int LimiteJanelaModalMs = 30000;

// Works in the modal window that `abrir` opens (a menu item, a button) from
// inside its event loop, and always closes it and every window above `antes`
// afterwards, a failed check in `trabalho` included: such a test fails in
// seconds instead of waiting, window open, for CTest's time-out. False, the
// test failed, when no window of type J opened or a check inside failed: the
// caller returns at once.
template <typename J>
bool naJanelaModal(const std::function<void()>& abrir, const std::function<void(J&)>& trabalho,
                   const std::source_location onde = std::source_location::current(),
                   QWidget* antes = QApplication::activeModalWidget())
{
    bool aberta = false;
    QTimer vez;  // gone with this call: it never fires after `abrir` returned
    vez.setSingleShot(true);
    QObject::connect(&vez, &QTimer::timeout, [&] {
        QWidget* janela = QApplication::activeModalWidget();
        if (!janela || janela == antes)
            return;
        const auto fechar = qScopeGuard([antes] { fecharJanelasModais(antes); });
        J* j = qobject_cast<J*>(janela);
        if (!j || !QTest::qWaitForWindowActive(janela))
            return;
        aberta = true;
        QTimer limite;
        limite.setSingleShot(true);
        QObject::connect(&limite, &QTimer::timeout, [antes, onde] {
            QTest::qFail("the work in the modal window did not end: its windows are closed", onde.file_name(),
                         int(onde.line()));
            fecharJanelasModais(antes);
        });
        limite.start(LimiteJanelaModalMs);
        trabalho(*j);
    });
    vez.start(0);
    abrir();
    if (!aberta && !QTest::currentTestFailed())
        QTest::qFail("the modal window did not open, or never became active", onde.file_name(), int(onde.line()));
    return !QTest::currentTestFailed();
}

// The same for a dialog the test made (shown already, or not): `trabalho`
// runs inside its exec(), whose result this returns (-1 when it never ran).
template <typename J>
int execComTrabalho(J& janela, const std::function<void(J&)>& trabalho,
                    const std::source_location onde = std::source_location::current())
{
    int resultado = -1;
    naJanelaModal<J>([&] { resultado = janela.exec(); }, trabalho, onde, nullptr);
    return resultado;
}

#pragma once

#include <QLoggingCategory>
#include <QMutex>
#include <QStringList>

// The log lines of one category while this lives, from any thread, taken
// instead of printed: "warning: <text>", "info: <text>", the category's
// lines of every level taken whatever the filter rules say. One at a time.
class DiarioCapturado
{
public:
    explicit DiarioCapturado(const char* categoria);
    ~DiarioCapturado();
    DiarioCapturado(const DiarioCapturado&) = delete;
    DiarioCapturado& operator=(const DiarioCapturado&) = delete;

    QStringList linhas() const;

private:
    static void tratar(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto);
    static void filtrar(QLoggingCategory* categoria);

    const QByteArray m_categoria;
    QtMessageHandler m_anterior = nullptr;
    QLoggingCategory::CategoryFilter m_filtroAnterior = nullptr;
    mutable QMutex m_fecho;
    QStringList m_linhas;
};

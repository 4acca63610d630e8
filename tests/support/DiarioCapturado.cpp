#include "support/DiarioCapturado.h"

#include <QMutexLocker>
#include <atomic>

namespace {
std::atomic<DiarioCapturado*> actual{nullptr};
}  // namespace

DiarioCapturado::DiarioCapturado(const char* categoria) : m_categoria(categoria)
{
    actual = this;
    m_anterior = qInstallMessageHandler(&DiarioCapturado::tratar);
    m_filtroAnterior = QLoggingCategory::installFilter(&DiarioCapturado::filtrar);
}

DiarioCapturado::~DiarioCapturado()
{
    QLoggingCategory::installFilter(m_filtroAnterior);
    qInstallMessageHandler(m_anterior);
    actual = nullptr;
}

void DiarioCapturado::filtrar(QLoggingCategory* categoria)
{
    DiarioCapturado* d = actual;
    if (d && d->m_filtroAnterior)
        d->m_filtroAnterior(categoria);
    if (d && d->m_categoria == categoria->categoryName()) {
        for (const QtMsgType tipo : {QtDebugMsg, QtInfoMsg, QtWarningMsg, QtCriticalMsg})
            categoria->setEnabled(tipo, true);
    }
}

QStringList DiarioCapturado::linhas() const
{
    const QMutexLocker fecho(&m_fecho);
    return m_linhas;
}

void DiarioCapturado::tratar(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto)
{
    DiarioCapturado* d = actual;
    if (!d || !contexto.category || d->m_categoria != contexto.category) {
        if (d && d->m_anterior)
            d->m_anterior(tipo, contexto, texto);
        return;
    }
    const char* nome = tipo == QtWarningMsg ? "warning" : tipo == QtInfoMsg ? "info" : tipo == QtDebugMsg ? "debug" : "critical";
    const QMutexLocker fecho(&d->m_fecho);
    d->m_linhas << QString::fromLatin1(nome) + QStringLiteral(": ") + texto;
}

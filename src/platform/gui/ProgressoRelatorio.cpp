#include "platform/gui/ProgressoRelatorio.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// Shorter work does not need the window.
constexpr int Espera = 300;
}  // namespace

ProgressoRelatorio::ProgressoRelatorio(const QString& titulo, QWidget* pai) : QWidget(pai, Qt::Dialog)
{
    setObjectName(QStringLiteral("ProgressoRelatorio"));
    setWindowTitle(titulo);
    setWindowModality(Qt::NonModal);
    // Reading the rows and counting the pages: no count yet.
    m_texto = new QLabel(QStringLiteral("A ler os registos e a contar as páginas…"), this);
    m_texto->setObjectName(QStringLiteral("lblProgresso"));
    m_barra = new QProgressBar(this);
    m_barra->setRange(0, 0);
    m_cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    m_cancelar->setObjectName(QStringLiteral("cmdCancelar"));
    m_cancelar->setAutoDefault(false);
    connect(m_cancelar, &QPushButton::clicked, this, [this] {
        m_cancelar->setEnabled(false);
        m_texto->setText(QStringLiteral("A cancelar…"));
        Q_EMIT cancelar();
    });
    auto* disposicao = new QVBoxLayout(this);
    disposicao->addWidget(m_texto);
    disposicao->addWidget(m_barra);
    disposicao->addWidget(m_cancelar, 0, Qt::AlignRight);
    setMinimumWidth(360);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    QTimer::singleShot(Espera, this, [this] { show(); });
}

ProgressoRelatorio::~ProgressoRelatorio()
{
    QGuiApplication::restoreOverrideCursor();
}

void ProgressoRelatorio::pagina(int pagina, int total)
{
    m_texto->setText(QStringLiteral("Página %1 de %2").arg(pagina).arg(total));
    m_barra->setRange(0, total);
    m_barra->setValue(pagina);
}

void ProgressoRelatorio::closeEvent(QCloseEvent* evento)
{
    // The window goes when the report has stopped.
    evento->ignore();
    if (m_cancelar->isEnabled())
        m_cancelar->click();
}

#include "platform/gui/ProgressoRelatorio.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <array>

namespace {
// Shorter work does not need the window.
constexpr int Espera = 300;

// The window as the report engine holds it: deleting this closes the window,
// and that is no cancellation.
class ProgressoJanela final : public ProgressoListagem
{
public:
    ProgressoJanela(const QString& titulo, QWidget* pai, const std::function<void()>& cancelar)
        : m_janela(new ProgressoRelatorio(titulo, pai)),
          m_ligacoes{QObject::connect(m_janela.data(), &ProgressoRelatorio::cancelar, cancelar),
                     // The window that asked was closed, and the progress with it.
                     QObject::connect(m_janela.data(), &QObject::destroyed, cancelar)}
    {}
    ~ProgressoJanela() override
    {
        for (const QMetaObject::Connection& l : m_ligacoes)
            QObject::disconnect(l);
        delete m_janela;
    }

    void pagina(int pagina, int total) override
    {
        if (m_janela)
            m_janela->pagina(pagina, total);
    }

private:
    QPointer<ProgressoRelatorio> m_janela;
    std::array<QMetaObject::Connection, 2> m_ligacoes;
};

}  // namespace

std::unique_ptr<ProgressoListagem> ProgressoRelatorio::abrir(const QString& titulo, QWidget* pai,
                                                             std::function<void()> cancelar)
{
    return std::make_unique<ProgressoJanela>(titulo, pai, cancelar);
}

ProgressoRelatorio::ProgressoRelatorio(const QString& titulo, QWidget* pai) : QWidget(pai, Qt::Dialog)
{
    setObjectName(QStringLiteral("ProgressoRelatorio"));
    setWindowTitle(titulo);
    // Modal to the window that asked (the window managers keep such a window
    // above its parent, "Cancelar" in sight); the others go on.
    setWindowModality(Qt::WindowModal);
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

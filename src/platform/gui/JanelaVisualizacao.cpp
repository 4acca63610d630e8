#include "platform/gui/JanelaVisualizacao.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QShortcut>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
constexpr int Margem = 12;            // round the pages, in pixels
constexpr int PedidosAbertos = 3;     // pages asked for and not yet come
constexpr int Guardadas = 4;          // pages kept above and below those in view, at the most
constexpr qint64 Memoria = 64 << 20;  // bytes the pages kept out of view may take
}  // namespace

// The pages one under the other, each asked for when it comes into view.
class VistaPaginas : public QAbstractScrollArea
{
    Q_OBJECT

public:
    enum class Ajuste { Largura, Pagina, Livre };

    VistaPaginas(PaginasVisualizacao* paginas, QWidget* pai) : QAbstractScrollArea(pai), m_paginas(paginas)
    {
        setObjectName(QStringLiteral("paginas"));
        viewport()->setAutoFillBackground(false);
        verticalScrollBar()->setSingleStep(24);
        connect(paginas, &PaginasVisualizacao::desenhada, this, &VistaPaginas::recebida);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { Q_EMIT paginaMudou(paginaActual()); });
    }

    void ajustar(Ajuste ajuste)
    {
        m_ajuste = ajuste;
        reformar();
    }
    void ampliar(double factor)
    {
        m_livre = std::clamp(escala() * factor, 0.2, 8.0);
        m_ajuste = Ajuste::Livre;
        reformar();
    }

    int paginaActual() const
    {
        // The page whose top half is at the top of the view.
        const int passo = std::max(1, tamanhoPixeis().height() + Margem);
        return std::clamp((verticalScrollBar()->value() + passo / 2) / passo, 0, std::max(0, m_paginas->paginas() - 1));
    }
    void irPara(int pagina) { verticalScrollBar()->setValue(pagina * (tamanhoPixeis().height() + Margem)); }

Q_SIGNALS:
    void paginaMudou(int pagina);
    void paginaMostrada(int pagina);

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(viewport());
        p.fillRect(viewport()->rect(), QColor(0x80, 0x80, 0x80));
        const QSize s = tamanhoPixeis();
        const int passo = s.height() + Margem;
        const int topo = verticalScrollBar()->value();
        const int x = std::max(Margem, (viewport()->width() - s.width()) / 2) - horizontalScrollBar()->value();
        const int primeira = std::max(0, topo / passo);  // the first whose foot is in view
        const int ultima = std::min(m_paginas->paginas() - 1, (topo + viewport()->height()) / passo);
        const int largura = larguraPedida();
        for (int k = primeira; k <= ultima; ++k) {
            const QRect r(x, Margem + k * passo - topo, s.width(), s.height());
            const auto imagem = m_imagens.constFind(k);
            if (imagem != m_imagens.cend() && imagem->width() == largura) {
                p.drawImage(r, *imagem);
                if (!m_mostradas.contains(k)) {
                    m_mostradas.insert(k);
                    Q_EMIT paginaMostrada(k);
                }
            } else {
                p.fillRect(r, Qt::white);
                pedir(k);
            }
        }
        // Only the pages near the view are kept, fewer the larger they are drawn.
        const qint64 bytes = 4 * qint64(largura) * std::lround(s.height() * devicePixelRatioF());
        const int guardadas = int(std::min<qint64>(Guardadas, Memoria / std::max<qint64>(1, 2 * bytes)));
        for (auto it = m_imagens.begin(); it != m_imagens.end();) {
            if (it.key() < primeira - guardadas || it.key() > ultima + guardadas)
                it = m_imagens.erase(it);
            else
                ++it;
        }
    }
    void resizeEvent(QResizeEvent*) override { reformar(); }

private:
    double escala() const
    {
        const QSizeF pagina = m_paginas->tamanho();
        if (pagina.isEmpty())
            return 1;
        const double largura = (viewport()->width() - 2.0 * Margem) / pagina.width();
        switch (m_ajuste) {
        case Ajuste::Largura: return std::max(largura, 0.1);
        case Ajuste::Pagina:
            return std::max(std::min(largura, (viewport()->height() - 2.0 * Margem) / pagina.height()), 0.1);
        case Ajuste::Livre: break;
        }
        return m_livre;
    }
    QSize tamanhoPixeis() const
    {
        const QSizeF pagina = m_paginas->tamanho() * escala();
        return {std::max(1, int(std::lround(pagina.width()))), std::max(1, int(std::lround(pagina.height())))};
    }
    int larguraPedida() const { return int(std::lround(tamanhoPixeis().width() * devicePixelRatioF())); }

    void reformar()
    {
        const double antes = verticalScrollBar()->maximum() > 0
                                 ? double(verticalScrollBar()->value()) / verticalScrollBar()->maximum()
                                 : 0;
        const QSize s = tamanhoPixeis();
        const int altura = m_paginas->paginas() * (s.height() + Margem) + Margem;
        verticalScrollBar()->setRange(0, std::max(0, altura - viewport()->height()));
        verticalScrollBar()->setPageStep(viewport()->height());
        horizontalScrollBar()->setRange(0, std::max(0, s.width() + 2 * Margem - viewport()->width()));
        horizontalScrollBar()->setPageStep(viewport()->width());
        verticalScrollBar()->setValue(int(std::lround(antes * verticalScrollBar()->maximum())));
        m_imagens.clear();
        viewport()->update();
    }

    void pedir(int pagina)
    {
        if (m_pedidas.contains(pagina) || m_pedidas.size() >= PedidosAbertos)
            return;
        m_pedidas.insert(pagina);
        m_paginas->pedir(pagina, larguraPedida());
    }

    void recebida(int pagina, int largura, const QImage& imagem)
    {
        m_pedidas.remove(pagina);
        if (largura == larguraPedida()) {
            QImage copia = imagem;
            copia.setDevicePixelRatio(devicePixelRatioF());
            m_imagens.insert(pagina, copia);
        }
        viewport()->update();
    }

    PaginasVisualizacao* m_paginas;
    Ajuste m_ajuste = Ajuste::Largura;
    double m_livre = 1;
    QHash<int, QImage> m_imagens;
    QSet<int> m_pedidas;
    QSet<int> m_mostradas;
};

JanelaVisualizacao::JanelaVisualizacao(PaginasVisualizacao* paginas, QWidget* pai)
    : QWidget(pai, Qt::Window),
      m_paginas(paginas)
{
    setObjectName(QStringLiteral("JanelaVisualizacao"));
    setAttribute(Qt::WA_DeleteOnClose);
    paginas->setParent(this);
    m_vista = new VistaPaginas(paginas, this);

    auto* barra = new QToolBar(this);
    const int total = std::max(1, paginas->paginas());
    m_numero = new QSpinBox(barra);
    m_numero->setObjectName(QStringLiteral("pagina"));
    m_numero->setRange(1, total);
    m_numero->setKeyboardTracking(false);
    const auto accao = [&](const QString& texto, const QString& nome, auto&& funcao) {
        QAction* a = barra->addAction(texto, this, funcao);
        a->setObjectName(nome);
        return a;
    };
    accao(QStringLiteral("|<"), QStringLiteral("primeira"), [this] {
        irPara(0);
    })->setToolTip(QStringLiteral("Primeira página"));
    accao(QStringLiteral("<"), QStringLiteral("anterior"), [this] {
        irPara(paginaActual() - 1);
    })->setToolTip(QStringLiteral("Página anterior"));
    barra->addWidget(m_numero);
    barra->addWidget(new QLabel(QStringLiteral(" de %1 ").arg(total), barra));
    accao(QStringLiteral(">"), QStringLiteral("seguinte"), [this] {
        irPara(paginaActual() + 1);
    })->setToolTip(QStringLiteral("Página seguinte"));
    accao(QStringLiteral(">|"), QStringLiteral("ultima"), [this] {
        irPara(m_paginas->paginas() - 1);
    })->setToolTip(QStringLiteral("Última página"));
    barra->addSeparator();
    accao(QStringLiteral("Largura"), QStringLiteral("largura"),
          [this] { m_vista->ajustar(VistaPaginas::Ajuste::Largura); });
    accao(QStringLiteral("Página inteira"), QStringLiteral("inteira"),
          [this] { m_vista->ajustar(VistaPaginas::Ajuste::Pagina); });
    accao(QStringLiteral("+"), QStringLiteral("ampliar"), [this] {
        m_vista->ampliar(1.25);
    })->setToolTip(QStringLiteral("Ampliar"));
    accao(QStringLiteral("-"), QStringLiteral("reduzir"), [this] {
        m_vista->ampliar(0.8);
    })->setToolTip(QStringLiteral("Reduzir"));
    barra->addSeparator();
    accao(QStringLiteral("&Imprimir"), QStringLiteral("imprimir"), [this] { m_paginas->imprimir(); });
    accao(QStringLiteral("&Fechar"), QStringLiteral("fechar"), [this] { close(); });
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);

    connect(m_numero, &QSpinBox::valueChanged, this, [this](int n) {
        if (n - 1 != paginaActual())
            irPara(n - 1);
    });
    connect(m_vista, &VistaPaginas::paginaMudou, this, [this](int k) { m_numero->setValue(k + 1); });
    connect(m_vista, &VistaPaginas::paginaMostrada, this, &JanelaVisualizacao::paginaMostrada);

    auto* disposicao = new QVBoxLayout(this);
    disposicao->setContentsMargins(0, 0, 0, 0);
    disposicao->setSpacing(0);
    disposicao->addWidget(barra);
    disposicao->addWidget(m_vista);
    resize(900, 700);
    m_vista->setFocus();
}

int JanelaVisualizacao::paginaActual() const
{
    return m_vista->paginaActual();
}

void JanelaVisualizacao::irPara(int pagina)
{
    m_vista->irPara(std::clamp(pagina, 0, std::max(0, m_paginas->paginas() - 1)));
}

#include "JanelaVisualizacao.moc"

#include "screen/JanelaAjuda.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

JanelaAjuda::JanelaAjuda(const QString& pagina, QWidget* principal)
    : QWidget(principal, Qt::Window),
      m_texto(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("frmAjuda"));
    setWindowTitle(QStringLiteral("Tópicos de ajuda"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_texto->setObjectName(QStringLiteral("txtAjuda"));
    m_texto->setOpenExternalLinks(false);
    auto* disposicao = new QVBoxLayout(this);
    disposicao->setContentsMargins(0, 0, 0, 0);
    disposicao->addWidget(m_texto);
    resize(720, 600);
    if (QFileInfo(pagina).isFile())
        m_texto->setSource(QUrl::fromLocalFile(pagina));
    else
        m_texto->setPlainText(QStringLiteral("Não foi encontrada a página de ajuda:\n") + pagina);
}

JanelaAjuda* JanelaAjuda::mostrar(const QString& pagina, QWidget* principal)
{
    JanelaAjuda* janela =
        principal ? principal->findChild<JanelaAjuda*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!janela)
        janela = new JanelaAjuda(pagina, principal);
    janela->show();
    janela->raise();
    janela->activateWindow();
    return janela;
}

#include "reporting/FolhaEstacao.h"

#include <QFont>
#include <QString>
#include <QTextDocument>

QPageLayout folhaDaEstacao(bool paisagem)
{
    return QPageLayout(QPageSize(QPageSize::A4), paisagem ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
}

void prepararDocumento(QTextDocument& documento, const QString& html)
{
    QFont letra(QStringLiteral("DejaVu Sans"));
    letra.setPointSizeF(9.5);
    documento.setDefaultFont(letra);
    documento.setDocumentMargin(0);
    documento.setHtml(html);
}

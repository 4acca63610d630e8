#include "TextoPdf.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
QString correr(const QString& programa, const QStringList& argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}
}  // namespace

bool TextoPdf::disponivel()
{
    return !QStandardPaths::findExecutable("pdftotext").isEmpty() && !QStandardPaths::findExecutable("pdfinfo").isEmpty();
}

int TextoPdf::paginas(const QString& pdf)
{
    const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(correr("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString TextoPdf::texto(const QString& pdf, int pagina)
{
    QStringList argumentos{"-layout"};
    if (pagina > 0)
        argumentos << "-f" << QString::number(pagina) << "-l" << QString::number(pagina);
    return correr("pdftotext", argumentos << pdf << "-");
}

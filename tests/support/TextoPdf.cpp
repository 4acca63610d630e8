#include "TextoPdf.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

namespace TextoPdf {

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

bool disponivel()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
           && !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

int paginas(const QString& pdf)
{
    static const QRegularExpression linha(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto m = linha.match(correr(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString texto(const QString& pdf, int pagina)
{
    QStringList argumentos{QStringLiteral("-layout")};
    if (pagina > 0)
        argumentos << QStringLiteral("-f") << QString::number(pagina) << QStringLiteral("-l") << QString::number(pagina);
    return correr(QStringLiteral("pdftotext"), argumentos << pdf << QStringLiteral("-"));
}

}  // namespace TextoPdf

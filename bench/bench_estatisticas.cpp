// Times a statistics report on a year of weighings grouped by product: the
// rows read, grouped and laid out in HTML, then the preview's document built
// and paginated on A4 landscape, for the detailed, totals-only and chart
// reports.
// Usage: bench_estatisticas [weighings] [products] [pages]   (default 100000, 40, 1)
// With pages 0 the detailed report's document is not paginated (it takes minutes).
#include "data/Consulta.h"
#include "reporting/ComposicaoRelatorio.h"
#include "reporting/DefinicaoRelatorio.h"
#include "reporting/FormulaSeleccao.h"
#include "support/EstacaoTeste.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QPrinter>
#include <QTextDocument>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int pesagens = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int produtos = argc > 2 ? std::atoi(argv[2]) : 40;
    const bool paginar = argc > 3 ? std::atoi(argv[3]) != 0 : true;
    QTextStream saida(stdout);

    EstacaoTeste t;
    t.abrirBaseDados();
    const QSqlDatabase db = t.estacao->bd();
    {
        Consulta::Transaccao tr(db);
        QSqlQuery q(db);
        q.prepare(QStringLiteral(
            "INSERT INTO Pesagens (\"Tipo de pesagem\", \"Número de pesagem\", Viatura, Entidade, Produto, "
            "\"Peso á entrada\", \"Peso á saída\", \"Data de saída\", \"Hora de saída\", \"Peso líquido\", Operador) "
            "VALUES (?, ?, ?, ?, ?, 12000, ?, ?, '10:00', ?, 'Ana')"));
        const QDateTime inicio(QDate(2025, 1, 1), QTime(6, 0));
        for (int i = 0; i < pesagens; ++i) {
            const int liquido = 5000 + (i * 37) % 20000;
            q.addBindValue(QStringLiteral("EGT").mid(i % 3, 1));
            q.addBindValue(i + 1);
            q.addBindValue(QStringLiteral("%1-AB-%2").arg(i % 97, 2, 10, QChar(u'0')).arg(i % 89, 2, 10, QChar(u'0')));
            q.addBindValue(QStringLiteral("Cliente %1").arg(i % 300));
            q.addBindValue(QStringLiteral("Produto %1").arg(i % produtos));
            q.addBindValue(12000 + liquido);
            q.addBindValue(
                inicio.addSecs(qint64(i) * 365 * 86400 / pesagens).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            q.addBindValue(liquido);
            if (!q.exec()) {
                std::fprintf(stderr, "insert failed\n");
                return 1;
            }
        }
        tr.confirmar();
    }
    saida << pesagens << " weighings, " << produtos << " products, year 2025\n";

    const QString formula = QStringLiteral("{Pesagens.Data de saída} in Date (2025, 01, 01) to Date (2025, 12, 31)");
    for (const QString& nome :
         {QStringLiteral("t_produto.rpt"), QStringLiteral("g_produto.rpt"), QStringLiteral("m_produto.rpt")}) {
        QElapsedTimer relogio;
        relogio.start();
        const auto definicao = DefinicaoRelatorio::carregar(QDir(QStringLiteral(ZUMAREL_RELATORIOS)).filePath(nome));
        const auto seleccao = FormulaSeleccao::traduzir(formula, QStringLiteral("Pesagens"));
        if (!definicao || !seleccao)
            return 1;
        const auto composto = comporRelatorio(*definicao, *seleccao, db, QDateTime::currentDateTime());
        if (!composto)
            return 1;
        const qint64 composicao = relogio.elapsed();
        if (!paginar && definicao->detalhe) {
            saida << nome << ": " << composto->registos << " rows, HTML " << composto->html.size() / 1024 << " KiB in "
                  << composicao << " ms; not paginated\n";
            continue;
        }
        QTextDocument documento;
        QFont letra(QStringLiteral("DejaVu Sans"));
        letra.setPointSizeF(9.5);
        documento.setDefaultFont(letra);
        documento.setHtml(composto->html);
        const qint64 analise = relogio.elapsed();
        // Laid out as the preview does: on its printer, A4 landscape, at screen resolution.
        QPrinter impressora(QPrinter::ScreenResolution);
        impressora.setOutputFormat(QPrinter::PdfFormat);
        impressora.setPageSize(QPageSize(QPageSize::A4));
        impressora.setPageOrientation(QPageLayout::Landscape);
        impressora.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
        documento.documentLayout()->setPaintDevice(&impressora);
        documento.setPageSize(impressora.pageLayout().paintRectPixels(impressora.resolution()).size());
        const int paginas = documento.pageCount();
        saida << nome << ": " << composto->registos << " rows, HTML " << composto->html.size() / 1024 << " KiB in "
              << composicao << " ms; HTML read by " << analise << " ms; preview document of " << paginas
              << " pages built in " << relogio.elapsed() << " ms\n";
        saida.flush();
    }
    return 0;
}

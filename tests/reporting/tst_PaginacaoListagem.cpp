#include "reporting/PaginacaoListagem.h"
#include "reporting/PintorListagem.h"
#include "reporting/TextoPagina.h"

#include <QPainter>
#include <QtTest>

using namespace PaginacaoListagem;

// Pages as text, a page a line: each band by a letter and its rows or group.
static QString descrever(const QList<Pagina>& paginas)
{
    QStringList texto;
    for (const Pagina& p : paginas) {
        QStringList faixas;
        for (const Faixa& f : p.faixas) {
            const char* nomes[] = {"Cab", "Col", "G", "R", "T", "Tot", "Sem", "B"};
            QString faixa = nomes[int(f.tipo)];
            if (f.tipo == Faixa::Tipo::Registos || f.tipo == Faixa::Tipo::Barras)
                faixa += QString("%1-%2").arg(f.de).arg(f.ate);
            else if (f.grupo >= 0)
                faixa += QString::number(f.grupo);
            faixas << faixa;
        }
        texto << faixas.join(' ');
    }
    return texto.join(" | ");
}

class TestePaginacaoListagem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every band is 10 points high (a row 10 a line), the heading 20, and a
    // page holds 100: seven rows on the first page, nine on the others.
    void paginar_data()
    {
        QTest::addColumn<char>("forma");              // r rows, g groups, t one row a group
        QTest::addColumn<QList<qint64>>("tamanhos");  // rows, or rows of each group
        QTest::addColumn<QList<int>>("linhas");       // lines of each row; one when missing
        QTest::addColumn<QString>("opcoes");          // T grand total, G chart, S "no rows" line
        QTest::addColumn<QString>("paginas");
        using L = QList<qint64>;
        using N = QList<int>;
        QTest::newRow("sete cabem na primeira") << 'r' << L{7} << N{} << "" << "Cab Col R0-7";
        QTest::newRow("nove nas outras, colunas em cada") << 'r' << L{17} << N{} << "T" << "Cab Col R0-7 | Col R7-16 | Col R16-17 Tot";
        QTest::newRow("linhas de várias alturas") << 'r' << L{4} << N{3, 3, 1, 1} << "" << "Cab Col R0-3 | Col R3-4";
        QTest::newRow("mais alta que a página fica só") << 'r' << L{2} << N{12, 1} << "" << "Cab Col R0-1 | Col R1-2";
        QTest::newRow("sem registos diz-se, sem colunas") << 'r' << L{0} << N{} << "S" << "Cab Sem";
        QTest::newRow("grupos e totais") << 'g' << L{2, 1} << N{} << "T" << "Cab Col G0 R0-2 T0 G1 R2-3 T1 | Col Tot";
        // 20+10+10+40+10 = 90: the next group's name and its first row do not fit.
        QTest::newRow("nome do grupo nunca só ao fundo") << 'g' << L{4, 2} << N{} << "" << "Cab Col G0 R0-4 T0 | Col G1 R4-6 T1";
        QTest::newRow("grupo partido entre páginas") << 'g' << L{9} << N{} << "T" << "Cab Col G0 R0-6 | Col R6-9 T0 Tot";
        QTest::newRow("só totais com gráfico") << 't' << L{3} << N{} << "TG" << "Cab Col R0-3 Tot B0-0 B0-2 | B2-3";
        QTest::newRow("gráfico numa página sua, sem colunas") << 't' << L{5} << N{} << "TG" << "Cab Col R0-5 Tot | B0-5";
        QTest::newRow("gráfico sem grupos não tem barras") << 't' << L{0} << N{} << "TG" << "Cab Col Tot";
    }
    void paginar()
    {
        QFETCH(char, forma);
        QFETCH(QList<qint64>, tamanhos);
        QFETCH(QList<int>, linhas);
        QFETCH(QString, opcoes);
        Medidas m;
        m.corpo = 100;
        m.cabecalho = 20;
        m.colunas = m.linha = m.grupo = m.totalGrupo = m.totalGeral = m.semRegistos = m.antesGrafico = m.barra = 10;
        Conteudo c;
        c.forma = forma == 'g' ? Conteudo::Forma::Grupos : forma == 't' ? Conteudo::Forma::TotaisGrupos : Conteudo::Forma::Registos;
        c.registos = std::accumulate(tamanhos.begin(), tamanhos.end(), qint64(0));
        if (forma == 'g')
            c.tamanhosGrupos = tamanhos;
        c.linhasRegisto = [linhas](qint64 r) { return linhas.value(int(r), 1); };
        c.totalGeral = opcoes.contains('T');
        c.grafico = opcoes.contains('G');
        c.semRegistos = opcoes.contains('S');
        const QList<Pagina> feitas = PaginacaoListagem::paginar(c, m);
        QTEST(descrever(feitas), "paginas");
        // No band runs past the foot of its page, but a row taller than a page.
        for (const Pagina& p : feitas) {
            for (const Faixa& f : p.faixas)
                QVERIFY(f.y + f.altura <= m.corpo + 0.01 || (f.tipo == Faixa::Tipo::Registos && f.ate - f.de == 1));
        }
    }

    // A row of a totals-only listing takes the lines of its longest cell, each
    // in its column's width less the padding.
    void linhasDeUmGrupo_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<qint64>("n");
        QTest::addColumn<int>("linhas");
        QTest::newRow("curto") << "Areia" << qint64(3) << 1;
        QTest::newRow("nome longo") << "Areia Brita Areia Brita" << qint64(3) << 4;
        QTest::newRow("contagem longa") << "Areia" << qint64(123456) << 2;
    }
    void linhasDeUmGrupo()
    {
        QFETCH(QString, nome);
        QFETCH(qint64, n);
        TextoPagina t;
        DefinicaoRelatorio d;
        d.grupo = "Produto";
        d.detalhe = false;
        // Columns as wide as "Areia" and "123" with their padding, on a line of 100 points.
        const double areia = t.largura("Areia") + 3.01, numero = t.largura("123") + 3.01;
        d.colunas = {{"valor", "", areia, Qt::AlignLeft}, {"n", "", numero, Qt::AlignRight},
                     {"liquido", "", 100 - areia - numero, Qt::AlignRight}};
        QTEST(PintorListagem(d, QSizeF(100, 500)).linhasGrupo({nome, n, 0}), "linhas");
    }

    // A text breaks at blanks; a word wider than the line breaks inside.
    void quebrar_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("medida");  // the line is as wide as this text
        QTest::addColumn<QStringList>("linhas");
        QTest::newRow("cabe") << "Areia fina" << "Areia fina" << QStringList{"Areia fina"};
        QTest::newRow("nos espaços") << "Transportes Muito Longos do Norte" << "Transportes Muito" << QStringList{"Transportes Muito", "Longos do Norte"};
        QTest::newRow("espaços a mais somem na quebra") << "Longos   do Norte" << "Longos do" << QStringList{"Longos", "do Norte"};
        QTest::newRow("palavra maior que a linha") << "XXXXXXXXXX" << "XXXX" << QStringList{"XXXX", "XXXX", "XX"};
        QTest::newRow("palavra longa com espaço à frente") << " XXXXXXXX" << "XXXX" << QStringList{" XXX", "XXXX", "X"};
        QTest::newRow("vazio é uma linha") << "" << "X" << QStringList{""};
        QTest::newRow("um peso não se parte") << "Peso 12\u00A0500\u00A0kg" << "Peso 12 500" << QStringList{"Peso", "12\u00A0500\u00A0kg"};
    }
    void quebrar()
    {
        QFETCH(QString, texto);
        QFETCH(QString, medida);
        QFETCH(QStringList, linhas);
        TextoPagina t;
        const double largura = t.largura(medida) + 0.001;
        QCOMPARE(t.quebrar(texto, largura), linhas);
        QCOMPARE(t.linhas(texto, largura), linhas.size());
    }

    // Right-aligned, a text ends as far from its box's right edge as a
    // left-aligned one starts from the left; centred, it is as far from both
    // ("HIH" is symmetric; four pixels a point).
    void alinhar()
    {
        const auto folgas = [](Qt::Alignment alinhamento) {
            TextoPagina t;
            QImage imagem(400, 60, QImage::Format_RGB32);
            imagem.fill(Qt::white);
            QPainter pintor(&imagem);
            pintor.scale(4, 4);
            t.escrever("HIH", QRectF(0, 0, 100, 15), alinhamento);
            t.desenhar(pintor);
            int esquerda = 400, direita = 400;
            for (int x = 0; x < 400; ++x)
                for (int y = 0; y < 60; ++y)
                    if (qGray(imagem.pixel(x, y)) < 128)
                        esquerda = std::min(esquerda, x), direita = std::min(direita, 399 - x);
            return std::pair(esquerda, direita);
        };
        const int margem = folgas(Qt::AlignLeft).first;
        const auto [esquerda, direita] = folgas(Qt::AlignHCenter);
        QVERIFY(margem < 20 && std::abs(folgas(Qt::AlignRight).second - margem) <= 2);
        QVERIFY(std::abs(esquerda - direita) <= 2);
    }
};

QTEST_MAIN(TestePaginacaoListagem)
#include "tst_PaginacaoListagem.moc"

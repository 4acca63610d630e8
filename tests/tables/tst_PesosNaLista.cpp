#include "Semente.h"
#include "support/EstacaoTeste.h"
#include "tables/ConteudoListas.h"
#include "tables/TitulosMenu.h"

#include <QtTest>

// The vehicles' list shows every tare grouped by thousands, "9 000 kg" as "12 345 kg".
class TestePesosNaLista : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void taras()
    {
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
        EstacaoTeste t;
        t.abrirBaseDados();
        for (qint64 tara : {0, 999, 1000, 9000, 12345, 1234567, -9000})
            Semente::inserir(t.estacao->bd(), QStringLiteral("Viaturas"),
                             {{QStringLiteral("Código da viatura"), QStringLiteral("V%1").arg(tara)},
                              {QStringLiteral("Peso de tara"), tara}});
        const DefinicaoLista* lista = ConteudoListas::definicao(TitulosMenu::Viaturas);
        qsizetype coluna = 0;
        while (lista->colunas.at(coluna).campo != QStringLiteral("Peso de tara"))
            ++coluna;
        QList<LinhaLista> linhas;
        ConteudoListas::lerLinhas(t.estacao->bd(), *lista, t.relogio, linhas);
        QStringList mostradas;
        for (const LinhaLista& l : linhas)
            mostradas << ConteudoListas::texto(*lista, l, int(coluna), t.relogio);
        QCOMPARE(mostradas.join(u'|').replace(QChar(0x00A0), u' '),
                 QStringLiteral("0 kg|999 kg|1 000 kg|9 000 kg|12 345 kg|1 234 567 kg|-9 000 kg"));
    }
};

QTEST_MAIN(TestePesosNaLista)
#include "tst_PesosNaLista.moc"

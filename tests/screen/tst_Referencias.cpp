#include "EcraTeste.h"
#include "platform/Mensagens.h"

#include <QtTest>

// The parties' codes looked up, made and renamed from the weighing screen, on
// a real station database.
class TesteReferencias : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void membros_data();
    void membros();
    void criarProdutoComApostrofo();
    void renomearProduto();
    void naoCriarSeleccionaOCodigo();
    void nivelDoisNaoCria();
    void codigoEmBranco();
    void falhaDaBaseDeDados();
};

void TesteReferencias::membros_data()
{
    QTest::addColumn<int>("codigo");
    QTest::addColumn<QString>("tabela");
    QTest::addColumn<QString>("pergunta");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("perguntaNovo");
    QTest::addColumn<int>("seguinteEncontrado");
    QTest::addColumn<int>("seguinteGravado");

    QTest::newRow("entidade") << 2 << "Entidades"
                              << "Código não existente.\n\nDeseja criar novo registo em\nTabela de clientes ou fornecedores."
                              << "Tabela de clientes ou fornecedores"
                              << "Deseja gravar o novo registo em\nTabela de clientes ou fornecedores" << 4 << 4;
    QTest::newRow("transportador") << 4 << "Transportadores"
                                   << "Código de transportador não existente.\n\nDeseja criar novo registo em\nTabela de "
                                      "transportadores."
                                   << "Tabela de transportadores"
                                   << "Deseja gravar o novo transportador em\nTabela de transportadores" << 6 << 6;
    QTest::newRow("produto") << 6 << "Produtos"
                             << "Código de produto não existente.\n\nDeseja criar novo registo em\nTabela de produtos."
                             << "Tabela de produtos" << "Deseja gravar o novo produto em\nTabela de produtos" << 12 << 8;
    QTest::newRow("local de carga") << 8 << "Locais de carga"
                                    << "Código de local de carga não existente.\n\nDeseja criar novo registo em\nTabela de "
                                       "locais de carga."
                                    << "Tabela de locais de carga"
                                    << "Deseja gravar o novo local de carga em\nTabela de locais de carga" << 10 << 10;
    QTest::newRow("local de descarga") << 10 << "Locais de descarga"
                                       << "Código de local de descarga não existente.\n\nDeseja criar novo registo "
                                          "em\nTabela de locais de descarga."
                                       << "Tabela de locais de descarga"
                                       << "Deseja gravar o novo local de descarga em\nTabela de locais de descarga" << 12
                                       << 12;
}

// A code made from the screen, then found again.
void TesteReferencias::membros()
{
    QFETCH(int, codigo);
    QFETCH(QString, tabela);
    QFETCH(QString, pergunta);
    QFETCH(QString, titulo);
    QFETCH(QString, perguntaNovo);
    QFETCH(int, seguinteEncontrado);
    QFETCH(int, seguinteGravado);

    EcraTeste e(3);
    e.dispor(QStringLiteral("PP"));
    e.escrever(codigo, QStringLiteral("x'1"));
    e.ecra.campos().Teclar(codigo, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.size(), 1);
    QCOMPARE(e.t.mensagens.caixas[0].texto, pergunta);
    QCOMPARE(e.t.mensagens.caixas[0].estilo, 36);
    QCOMPARE(e.t.mensagens.caixas[0].titulo, titulo);
    QCOMPARE(e.ecra.foco(), Controlo::txt(codigo + 1));  // Yes, the default

    e.escrever(codigo + 1, QStringLiteral("Nome"));
    e.ecra.campos().Teclar(codigo + 1, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.size(), 2);
    QCOMPARE(e.t.mensagens.caixas[1].texto, perguntaNovo);
    QCOMPARE(e.ecra.foco(), Controlo::txt(seguinteGravado));
    QCOMPARE(e.valor(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(tabela)).toInt(), 1);

    e.escrever(codigo, QStringLiteral("x'1"));
    e.ecra.campos().Teclar(codigo, Tecla::Enter);
    QCOMPARE(e.ecra.txt(codigo + 1), QStringLiteral("Nome"));
    QCOMPARE(e.ecra.foco(), Controlo::txt(seguinteEncontrado));
    QCOMPARE(e.t.mensagens.caixas.size(), 2);
}

void TesteReferencias::criarProdutoComApostrofo()
{
    EcraTeste e(3);
    e.dispor(QStringLiteral("PP"));
    e.t.mensagens.respostas << Resposta::Sim << Resposta::Sim;
    e.escrever(6, QStringLiteral("p9"));
    e.ecra.campos().Teclar(6, Tecla::Enter);
    e.escrever(7, QStringLiteral(" Cimento d'Ouro "));
    e.ecra.campos().Teclar(7, Tecla::Enter);
    QCOMPARE(e.valor(QStringLiteral("SELECT Produto FROM Produtos WHERE \"Código do produto\" = 'P9'")).toString(),
             QStringLiteral(" Cimento d'Ouro "));  // stored as typed, blanks included
    QCOMPARE(e.ecra.foco(), Controlo::txt(8));
    QVERIFY(e.t.mensagens.respostas.isEmpty());
}

void TesteReferencias::renomearProduto()
{
    EcraTeste e(4);
    e.dispor(QStringLiteral("PP"));
    e.sql(QStringLiteral("INSERT INTO Produtos VALUES ('P1', 'CIMENTO')"));
    e.escrever(6, QStringLiteral("p1"));
    e.ecra.campos().Teclar(6, Tecla::Enter);
    QCOMPARE(e.ecra.txt(7), QStringLiteral("CIMENTO"));
    QCOMPARE(e.ecra.foco(), Controlo::txt(12));

    // The same name: nothing asked, the focus moves on.
    e.enter(7);
    QVERIFY(e.t.mensagens.caixas.isEmpty());
    QCOMPARE(e.ecra.foco(), Controlo::txt(8));

    // Only the letter case differs: a change.
    e.escrever(7, QStringLiteral("Cimento d'Ouro"));
    e.t.mensagens.respostas << Resposta::Nao;
    e.ecra.campos().Teclar(7, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.size(), 1);
    QCOMPARE(e.t.mensagens.caixas[0].texto, QStringLiteral("O registo foi modificado\nDeseja gravar as alterações"));
    QCOMPARE(e.t.mensagens.caixas[0].estilo, 36);
    QCOMPARE(e.valor(QStringLiteral("SELECT Produto FROM Produtos")).toString(), QStringLiteral("CIMENTO"));

    e.escrever(7, QStringLiteral("Cimento d'Ouro"));
    e.ecra.campos().Teclar(7, Tecla::Enter);  // Yes
    QCOMPARE(e.valor(QStringLiteral("SELECT Produto FROM Produtos")).toString(), QStringLiteral("Cimento d'Ouro"));
    QCOMPARE(e.valor(QStringLiteral("SELECT count(*) FROM Produtos")).toInt(), 1);
}

void TesteReferencias::naoCriarSeleccionaOCodigo()
{
    EcraTeste e(3);
    e.dispor(QStringLiteral("PP"));
    e.t.mensagens.respostas << Resposta::Nao;
    e.escrever(4, QStringLiteral("t7"));
    e.ecra.campos().tomarPedidoSeleccao(4);
    e.ecra.campos().Teclar(4, Tecla::Enter);
    QCOMPARE(e.ecra.foco(), Controlo::txt(4));
    const auto sel = e.ecra.campos().tomarPedidoSeleccao(4);
    QVERIFY(sel.has_value());
    QCOMPARE(sel->first, 0);
    QCOMPARE(sel->second, 2);
}

void TesteReferencias::nivelDoisNaoCria()
{
    EcraTeste e(2);
    e.dispor(QStringLiteral("PP"));
    e.t.mensagens.respostas << Resposta::Sim;  // either answer counts as No
    e.escrever(6, QStringLiteral("p9"));
    e.ecra.campos().Teclar(6, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.size(), 1);
    QCOMPARE(e.t.mensagens.caixas[0].texto, QStringLiteral("Código não existente em\nTabela de produtos."));
    QCOMPARE(e.t.mensagens.caixas[0].estilo, 36);
    QCOMPARE(e.t.mensagens.caixas[0].titulo, QStringLiteral("Tabela de produtos"));
    QCOMPARE(e.ecra.foco(), Controlo::txt(6));

    e.escrever(7, QStringLiteral("Areia"));
    e.ecra.campos().Teclar(7, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.size(), 1);
    QCOMPARE(e.valor(QStringLiteral("SELECT count(*) FROM Produtos")).toInt(), 0);
    QCOMPARE(e.ecra.foco(), Controlo::txt(8));

    // The customer's refusal line begins with a small letter.
    e.escrever(2, QStringLiteral("c9"));
    e.ecra.campos().Teclar(2, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.last().texto,
             QStringLiteral("Código não existente em\ntabela de clientes ou fornecedores."));
}

void TesteReferencias::codigoEmBranco()
{
    EcraTeste e(4);
    e.dispor(QStringLiteral("PP"));
    e.escrever(9, QStringLiteral("Pedreira"));
    e.escrever(8, QStringLiteral("  "));
    e.ecra.campos().Teclar(8, Tecla::Enter);
    QCOMPARE(e.ecra.txt(9), QString());  // a name typed before the code is lost
    QCOMPARE(e.ecra.foco(), Controlo::txt(9));
    e.escrever(9, QStringLiteral("Pedreira"));
    e.ecra.campos().Teclar(9, Tecla::Enter);
    QVERIFY(e.t.mensagens.caixas.isEmpty());
    QCOMPARE(e.valor(QStringLiteral("SELECT count(*) FROM \"Locais de carga\"")).toInt(), 0);
    QCOMPARE(e.ecra.txt(9), QStringLiteral("Pedreira"));  // the weighing keeps the name without a code
    QCOMPARE(e.ecra.foco(), Controlo::txt(10));
}

void TesteReferencias::falhaDaBaseDeDados()
{
    EcraTeste e(4);
    e.dispor(QStringLiteral("PP"));
    e.sql(QStringLiteral("ALTER TABLE Produtos RENAME TO ProdutosAntigos"));
    e.escrever(6, QStringLiteral("p1"));
    e.ecra.campos().Teclar(6, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.size(), 1);
    QVERIFY(e.t.mensagens.caixas[0].texto.startsWith(QStringLiteral("Erro ao tentar consultar\nTabela de produtos\n\n(")));
    QCOMPARE(e.t.mensagens.caixas[0].estilo, 48);
    QVERIFY(e.t.mensagens.caixas[0].titulo.startsWith(QStringLiteral("Erro ")));
    QCOMPARE(e.ecra.foco(), Controlo::txt(12));

    e.escrever(7, QStringLiteral("Areia"));
    e.ecra.campos().Teclar(7, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.size(), 2);
    QVERIFY(e.t.mensagens.caixas[1].texto.startsWith(QStringLiteral("Erro no acesso à tabela de produtos\n\n(")));
    QCOMPARE(e.ecra.foco(), Controlo::txt(8));
}

QTEST_GUILESS_MAIN(TesteReferencias)
#include "tst_Referencias.moc"

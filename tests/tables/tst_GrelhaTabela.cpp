#include "GrelhaTeste.h"
#include "platform/Mensagens.h"
#include "shared/Esquema.h"
#include "support/FusoHorario.h"

#include <QtTest>

// The table editor's rules on a real station database, without widgets.
class TesteGrelhaTabela : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void disposicao_data();
    void disposicao();
    void teclas_data();
    void teclas();
    void formatos();
    void posicaoEBotoes_data();
    void posicaoEBotoes();
    void primeiraLinhaNumaTabelaVazia();
    void gravarAoMudarDeLinha_data();
    void gravarAoMudarDeLinha();
    void escritaRecusadaGuardaOTexto_data();
    void escritaRecusadaGuardaOTexto();
    void procurar_data();
    void procurar();
    void procurarData_data();
    void procurarData();
    void ordenarEVoltar();
    void primeirasPesagens();
    void apagarViaturaDePesagens();
    void listagens();
};

// Per table: the hidden columns and the shown ones' widths in pixels for a
// window 7475 twips wide.
void TesteGrelhaTabela::disposicao_data()
{
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("ocultas");
    QTest::addColumn<QString>("larguras");
    QTest::newRow("viaturas") << "Tabela de viaturas" << "16"
                              << "151 303 53 267 53 267 53 267 53 267 53 267 60 60 120 40";
    QTest::newRow("entidades") << "Tabela de clientes e fornecedores" << "" << "76 379 267 33 33 200 67";
    for (const char* t : {"transportadores", "produtos", "locais de carga", "locais de descarga"})
        QTest::newRow(t) << QStringLiteral("Tabela de ") + QString::fromUtf8(t) << "" << "76 379";
    QTest::newRow("primeiras pesagens") << "Tabela de primeiras pesagens" << "0 1 2 20 21 22 23 24 25 26"
                                        << "151 303 53 267 53 267 53 267 53 267 53 267 267 60 27 120 40";
}

void TesteGrelhaTabela::disposicao()
{
    QFETCH(QString, titulo);
    const EntradaTabela* e = CatalogoTabelas::entrada(titulo);
    QVERIFY(e);
    QCOMPARE(e->colunas.size(), Esquema::tabela(e->tabela)->campos.size());
    QStringList ocultas, larguras;
    for (int c = 0; c < e->colunas.size(); ++c) {
        const ColunaGrelha& col = e->colunas[c];
        if (col.oculta) {
            ocultas << QString::number(c);
            continue;
        }
        larguras << QString::number(Colunas::pixeis(col.larguraTwips(7475)));
        // A wider window widens only the two shared columns.
        QCOMPARE(col.larguraTwips(9475) - col.larguraTwips(7475), col.todo ? 2000.0 * col.parte / col.todo : 0.0);
    }
    QTEST(ocultas.join(u' '), "ocultas");
    QTEST(larguras.join(u' '), "larguras");
    QVERIFY(!CatalogoTabelas::entrada(titulo.toUpper()));  // titles compared exactly
}

void TesteGrelhaTabela::teclas_data()
{
    QTest::addColumn<int>("regra");
    QTest::addColumn<QString>("teclado");
    QTest::addColumn<QString>("fica");
    const QString controlo = QString(QChar(22)) + QChar(13);  // Ctrl+V, Enter
    QTest::newRow("maiúsculas") << int(RegraTecla::Maiusculas) << "ab12ç" + controlo << "AB12Ç" + QString(QChar(22));
    QTest::newRow("livre") << int(RegraTecla::Livre) << "Obra nº 5" + controlo << "Obra nº 5" + QString(QChar(22));
    QTest::newRow("dígitos") << int(RegraTecla::Digitos) << "1a2 -3" + controlo << "123";
    QTest::newRow("data") << int(RegraTecla::Data) << "05-03/2024 12:30x" + controlo << "05-03/202412:30";
    QTest::newRow("hora") << int(RegraTecla::Hora) << "12h:30-" + controlo << "12:30";
    QTest::newRow("nível") << int(RegraTecla::Nivel) << "15243" << "243";
    QTest::newRow("retrocesso e Esc passam") << int(RegraTecla::Digitos) << "\b\x1b" << "\b\x1b";
}

void TesteGrelhaTabela::teclas()
{
    QFETCH(int, regra);
    QFETCH(QString, teclado);
    QString r;
    for (QChar c : teclado) {
        if (const auto fica = Colunas::Tecla(RegraTecla(regra), c))
            r += *fica;
    }
    QTEST(r, "fica");
}

void TesteGrelhaTabela::formatos()
{
    const QString nbsp(QChar(0x00A0));
    QCOMPARE(Colunas::texto(FormatoColuna::Peso, 12345), "12" + nbsp + "345" + nbsp + "kg");
    QCOMPARE(Colunas::texto(FormatoColuna::Peso, 0), "0" + nbsp + "kg");
    QCOMPARE(Colunas::texto(FormatoColuna::Peso, QVariant()), QString());
    QCOMPARE(Colunas::texto(FormatoColuna::DataGeral, "2024-03-05 00:00:00"), QStringLiteral("05-03-2024"));
    QCOMPARE(Colunas::texto(FormatoColuna::DataGeral, "2024-03-05 09:15:00"), QStringLiteral("05-03-2024 09:15:00"));

    // The grid shows the format, the editor gets the stored value.
    GrelhaTeste g;
    g.viaturas(1);
    GrelhaTabela& grelha = g.abrir();
    QCOMPARE(grelha.index(0, 12).data().toString(), "1" + nbsp + "000" + nbsp + "kg");
    QCOMPARE(grelha.index(0, 12).data(Qt::EditRole).toLongLong(), 1000);
    QCOMPARE(grelha.index(0, 12).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
             Qt::AlignRight);

    // A typed date is stored in the stored form; an impossible one is refused.
    QVERIFY(g.escrever(0, 14, QStringLiteral("5-3-2024")));
    QVERIFY(!g.escrever(0, 14, QStringLiteral("31-02-2024")));
    QCOMPARE(g.t.mensagens.caixas.last().texto, QStringLiteral("Data incorrecta"));
    QVERIFY(g.escrever(0, 15, QStringLiteral("9:05")));
    QVERIFY(!g.escrever(0, 15, QStringLiteral("25:00")));
    QVERIFY(grelha.irPara(1, 0));
    QCOMPARE(g.valor(QStringLiteral("SELECT Data || ' ' || Hora FROM Viaturas")).toString(),
             QStringLiteral("2024-03-05 00:00:00 09:05"));
}

void TesteGrelhaTabela::posicaoEBotoes_data()
{
    QTest::addColumn<int>("registos");
    QTest::addColumn<int>("linha");
    QTest::addColumn<QString>("posicao");
    QTest::addColumn<QString>("botoes");  // Novo Apagar Ordenar Procurar Listar
    QTest::newRow("vazia") << 0 << 0 << "Viatura 0 de 0" << "00000";
    QTest::newRow("uma") << 1 << 0 << "Viatura 1 de 1" << "11001";
    QTest::newRow("terceira de 17") << 17 << 2 << "Viatura 3 de 17" << "11111";
    QTest::newRow("linha nova") << 5 << 5 << "Viatura 0 de 5" << "00111";
}

void TesteGrelhaTabela::posicaoEBotoes()
{
    QFETCH(int, registos);
    QFETCH(int, linha);
    GrelhaTeste g;
    g.viaturas(registos);
    GrelhaTabela& grelha = g.abrir();
    QCOMPARE(grelha.rowCount(), registos + 1);  // and the new-row line
    grelha.irPara(linha, 0);
    QTEST(grelha.textoPosicao(), "posicao");
    const GrelhaTabela::Botoes b = grelha.botoes();
    QString r;
    for (bool e : {b.novo, b.apagar, b.ordenar, b.procurar, b.listar})
        r += e ? u'1' : u'0';
    QTEST(r, "botoes");
}

void TesteGrelhaTabela::primeiraLinhaNumaTabelaVazia()
{
    GrelhaTeste g(QStringLiteral("Tabela de produtos"));
    GrelhaTabela& grelha = g.abrir();
    QVERIFY(g.escrever(0, 0, QStringLiteral("P01")));
    QVERIFY(g.escrever(0, 1, QStringLiteral("Areia")));
    QCOMPARE(grelha.rowCount(), 2);
    QVERIFY(grelha.irPara(1, 0));
    QCOMPARE(g.t.mensagens.caixas.last().texto, QStringLiteral("Gravar ?"));
    QCOMPARE(g.t.mensagens.caixas.last().estilo, 36);
    QCOMPARE(g.t.mensagens.caixas.last().titulo, QStringLiteral("Tabela de produtos"));
    QCOMPARE(g.valor(QStringLiteral("SELECT Produto FROM Produtos WHERE \"Código do produto\" = 'P01'")).toString(),
             QStringLiteral("Areia"));
    QCOMPARE(grelha.textoPosicao(), QStringLiteral("Produto 0 de 1"));
    // Novo lands on the name for products.
    grelha.irPara(0, 0);
    g.logica->cmd_Click(0);
    QCOMPARE(grelha.linhaActual(), 1);
    QCOMPARE(grelha.colunaActual(), 1);
}

void TesteGrelhaTabela::gravarAoMudarDeLinha_data()
{
    QTest::addColumn<int>("editada");
    QTest::addColumn<int>("resposta");
    QTest::addColumn<QString>("guardado");
    QTest::newRow("Sim grava") << 0 << Resposta::Sim << "ZZ-99-99";
    QTest::newRow("Não desfaz") << 0 << Resposta::Nao << "AA-00-01";
    // A cell of another row edited at once: that row becomes the current one.
    QTest::newRow("outra linha editada, Sim grava") << 1 << Resposta::Sim << "ZZ-99-99";
}

void TesteGrelhaTabela::gravarAoMudarDeLinha()
{
    QFETCH(int, editada);
    QFETCH(int, resposta);
    GrelhaTeste g;
    g.viaturas(2);
    GrelhaTabela& grelha = g.abrir();
    QVERIFY(g.escrever(editada, 1, QStringLiteral("ZZ-99-99")));
    QCOMPARE(grelha.linhaActual(), editada);
    QVERIFY(g.t.mensagens.caixas.isEmpty());  // nothing asked per cell
    g.t.mensagens.respostas << resposta;
    const int outra = 1 - editada;
    QVERIFY(grelha.irPara(outra, 1));
    QTEST(g.valor(QStringLiteral("SELECT Viatura FROM Viaturas WHERE \"Código da viatura\" = ?"), {QStringLiteral("V%1").arg(editada + 1, 2, 10, QChar(u'0'))}).toString(),
          "guardado");
    QTEST(grelha.valor(editada, 1).toString(), "guardado");
    QVERIFY(!grelha.pendente());
    QCOMPARE(grelha.linhaActual(), outra);
}

void TesteGrelhaTabela::escritaRecusadaGuardaOTexto_data()
{
    QTest::addColumn<int>("linha");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<QString>("erro");
    QTest::newRow("código repetido numa linha nova") << 2 << "v01" << "UNIQUE";
    QTest::newRow("código repetido numa linha lida") << 1 << "V01" << "UNIQUE";
    QTest::newRow("código vazio") << 1 << "" << "vazio";
}

void TesteGrelhaTabela::escritaRecusadaGuardaOTexto()
{
    QFETCH(int, linha);
    QFETCH(QString, codigo);
    GrelhaTeste g;
    g.viaturas(2);
    GrelhaTabela& grelha = g.abrir();
    grelha.irPara(linha, 0);
    QVERIFY(g.escrever(linha, 1, QStringLiteral("XX-11-22")));
    g.escrever(linha, 0, codigo);
    QVERIFY(!grelha.irPara(0, 0));
    const auto caixa = g.t.mensagens.caixas.last();
    QCOMPARE(caixa.estilo, 48);
    QVERIFY(caixa.texto.startsWith(QStringLiteral("Erro no acesso à tabela de viaturas\n\n(")));
    QFETCH(QString, erro);
    QVERIFY2(caixa.texto.contains(erro), qPrintable(caixa.texto));
    // Still there as typed, still current; nothing else written.
    QCOMPARE(grelha.linhaActual(), linha);
    QCOMPARE(grelha.valor(linha, 1).toString(), QStringLiteral("XX-11-22"));
    QVERIFY(grelha.pendente());
    QCOMPARE(g.valor(QStringLiteral("SELECT count(*) FROM Viaturas WHERE Viatura = 'XX-11-22'")).toInt(), 0);
    // Corrected, it is written.
    g.escrever(linha, 0, QStringLiteral("V09"));
    QVERIFY(grelha.irPara(0, 0));
    QCOMPARE(g.valor(QStringLiteral("SELECT Viatura FROM Viaturas WHERE \"Código da viatura\" = 'V09'")).toString(),
             QStringLiteral("XX-11-22"));
}

void TesteGrelhaTabela::procurar_data()
{
    QTest::addColumn<int>("coluna");
    QTest::addColumn<QString>("resposta");
    QTest::addColumn<int>("fica");
    QTest::newRow("texto inteiro, outra caixa") << 1 << "aa-00-07" << 6;
    QTest::newRow("parte não encontra") << 1 << "AA-00" << 2;
    QTest::newRow("aspa não encontra") << 1 << "x' OR '1'='1" << 2;
    QTest::newRow("vazio nada faz") << 1 << "" << 2;
    QTest::newRow("número lido da resposta") << 12 << " 5 000kg" << 4;
    QTest::newRow("além das 256 primeiras") << 0 << "V300" << 299;
}

void TesteGrelhaTabela::procurar()
{
    QFETCH(int, coluna);
    QFETCH(QString, resposta);
    GrelhaTeste g;
    g.viaturas(9);
    g.sql(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 10 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                         "INSERT INTO Viaturas (\"Código da viatura\") SELECT 'V' || i FROM n"));
    GrelhaTabela& grelha = g.abrir();
    grelha.irPara(2, coluna);
    g.t.mensagens.textos << resposta;
    g.logica->cmd_Click(3);
    QCOMPARE(g.t.mensagens.perguntasTexto.last(),
             QStringLiteral("Procurar em ") + grelha.headerData(coluna, Qt::Horizontal).toString());
    QTEST(grelha.linhaActual(), "fica");
}

// A date column is searched with a number: the day count from 30-12-1899,
// the time of day as its fraction. The same rows are found in every zone.
void TesteGrelhaTabela::procurarData_data()
{
    QTest::addColumn<QByteArray>("fuso");
    QTest::addColumn<QString>("resposta");
    QTest::addColumn<int>("fica");
    for (const char* f : {"UTC", "Europe/Lisbon"}) {
        QTest::addRow("%s: Inverno", f) << QByteArray(f) << "46037" << 2;
        QTest::addRow("%s: Verão", f) << QByteArray(f) << "46218" << 3;
        QTest::addRow("%s: meio-dia", f) << QByteArray(f) << "46218.5" << 4;
        QTest::addRow("%s: dia de uma data com hora", f) << QByteArray(f) << "46086" << 0;
    }
}

void TesteGrelhaTabela::procurarData()
{
    QFETCH(QByteArray, fuso);
    QFETCH(QString, resposta);
    const FusoHorario zona(fuso);
    QVERIFY(zona.existe());
    GrelhaTeste g;
    g.viaturas(5);
    int v = 2;
    for (const char* data : {"2026-03-05 10:20:00", "2026-01-15 00:00:00", "2026-07-15 00:00:00", "2026-07-15 12:00:00"})
        g.sql(QStringLiteral("UPDATE Viaturas SET Data = ? WHERE \"Código da viatura\" = ?"), {data, QStringLiteral("V0%1").arg(v++)});
    GrelhaTabela& grelha = g.abrir();
    grelha.irPara(0, 14);
    g.t.mensagens.textos << resposta;
    g.logica->cmd_Click(3);
    QTEST(grelha.linhaActual(), "fica");
}

void TesteGrelhaTabela::ordenarEVoltar()
{
    GrelhaTeste g;
    g.sql(QStringLiteral("INSERT INTO Viaturas (\"Código da viatura\", Viatura) VALUES ('A', 'zeta'), ('B', 'Alfa'), "
                         "('C', 'beta')"));
    GrelhaTabela& grelha = g.abrir();
    auto ordem = [&] {
        QString s;
        for (int l = 0; l < grelha.registos(); ++l)
            s += grelha.valor(l, 0).toString();
        return s;
    };
    grelha.irPara(2, 1);
    g.logica->cmd_Click(2);  // Ordenar: descending by the plate
    QCOMPARE(grelha.textoOrdem(), QStringLiteral("Descendente"));
    QCOMPARE(ordem(), QStringLiteral("ACB"));
    QCOMPARE(grelha.linhaActual(), 0);
    g.logica->dbg_HeadClick(0);  // a header click keeps the direction
    QCOMPARE(ordem(), QStringLiteral("CBA"));
    QCOMPARE(grelha.textoOrdem(), QStringLiteral("Descendente"));
    grelha.irPara(0, 1);
    g.logica->cmd_Click(2);
    QCOMPARE(grelha.textoOrdem(), QStringLiteral("Ascendente"));
    QCOMPARE(ordem(), QStringLiteral("BCA"));  // letter case ignored
    QCOMPARE(g.t.mensagens.cursorOcupado, 0);
}

void TesteGrelhaTabela::primeirasPesagens()
{
    GrelhaTeste g(QStringLiteral("Tabela de primeiras pesagens"));
    for (const char* tipo : {"P", "E", "P", "A"})
        g.sql(QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", \"Código da viatura\", \"Peso á entrada\") "
                             "VALUES (?, ?, 100)"),
              QVariantList{QString::fromLatin1(tipo), QString(u'C' + QString::fromLatin1(tipo))});
    GrelhaTabela& grelha = g.abrir();
    QCOMPARE(grelha.registos(), 2);
    QCOMPARE(grelha.colunaActual(), 3);
    QCOMPARE(grelha.textoPosicao(), QStringLiteral("Primeira pesagem 1 de 2"));

    g.logica->cmd_Click(0);
    QCOMPARE(grelha.colunaActual(), 3);  // Novo on a shown column
    QVERIFY(g.escrever(2, 3, QStringLiteral("NOVA")));
    QVERIFY(g.escrever(2, 16, QStringLiteral("8000")));
    QVERIFY(grelha.irPara(0, 3));
    QCOMPARE(g.valor(QStringLiteral("SELECT \"Tipo de pesagem\" FROM Pesagens WHERE \"Código da viatura\" = 'NOVA'"))
                 .toString(),
             QStringLiteral("P"));
    g.abrir();
    QCOMPARE(g.logica->grelha().registos(), 3);

    // Apagar deletes a pending row for real, without a question; nothing else goes.
    const int caixas = int(g.t.mensagens.caixas.size());
    g.logica->cmd_Click(1);
    QCOMPARE(g.t.mensagens.caixas.size(), caixas);
    QCOMPARE(g.valor(QStringLiteral("SELECT group_concat(c) FROM (SELECT \"Código da viatura\" c FROM Pesagens ORDER BY Pesagem)")).toString(),
             QStringLiteral("CE,CP,CA,NOVA"));
}

void TesteGrelhaTabela::apagarViaturaDePesagens()
{
    GrelhaTeste g;
    g.viaturas(3);
    g.sql(QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", \"Código da viatura\", Viatura) "
                         "VALUES ('P', 'V03', 'AA-00-03')"));
    GrelhaTabela& grelha = g.abrir();
    grelha.irPara(2, 0);
    g.logica->cmd_Click(1);  // the last row: the new last row becomes current
    QCOMPARE(grelha.registos(), 2);
    QCOMPARE(grelha.linhaActual(), 1);
    QCOMPARE(g.valor(QStringLiteral("SELECT Viatura FROM Pesagens WHERE \"Código da viatura\" = 'V03'")).toString(),
             QStringLiteral("AA-00-03"));
    // The grid's own delete asks first; No keeps the row.
    g.t.mensagens.respostas << Resposta::Nao;
    grelha.ApagarComPergunta();
    QCOMPARE(g.t.mensagens.caixas.last().texto, QStringLiteral("Apagar ?"));
    QCOMPARE(grelha.registos(), 2);
}

void TesteGrelhaTabela::listagens()
{
    GrelhaTeste g(QStringLiteral("Tabela de locais de carga"));
    g.abrir();
    // A row being typed is settled first: "Gravar ?" (Yes), and it is written.
    QVERIFY(g.escrever(0, 0, QStringLiteral("C1")));
    g.t.mensagens.respostas << Resposta::Sim;
    g.logica->cmd_Click(4);
    QCOMPARE(g.t.mensagens.caixas.size(), 1);
    QCOMPARE(g.t.mensagens.caixas.first().texto, QStringLiteral("Gravar ?"));
    QCOMPARE(g.valor(QStringLiteral("SELECT COUNT(*) FROM \"Locais de carga\"")).toInt(), 1);
    g.logica->cmd_Click(5);
    const auto& p = g.t.impressora.pedidos;
    QCOMPARE(p.size(), 2);  // on the screen, then on the printer, everything once
    QCOMPARE(p[0].FicheiroRelatorio, g.t.caminho(QStringLiteral("l_loccarga.rpt")));
    QCOMPARE(p[0].TituloJanela, QStringLiteral("Tabela de locais de carga"));
    QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5").arg(p[0].Destino).arg(p[0].EstadoJanela).arg(p[1].Destino)
                 .arg(p[1].Copias).arg(p[1].FormulaSeleccao), QStringLiteral("0 2 1 1 "));
    QVERIFY(g.logica->cmd_Click(6));
}

QTEST_GUILESS_MAIN(TesteGrelhaTabela)
#include "tst_GrelhaTabela.moc"

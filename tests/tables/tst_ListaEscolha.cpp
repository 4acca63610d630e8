#include "DestinoFalso.h"
#include "Semente.h"
#include "TitulosTeste.h"

#include "data/Consulta.h"
#include "support/EstacaoTeste.h"
#include "tables/ListaEscolha.h"

#include <QLocale>
#include <QtTest>

namespace {

const QString Nbsp = QString(QChar(0x00A0));

// A station whose weighing screen has just asked for a list: the title set
// and the hourglass on.
struct Posto
{
    EstacaoTeste t;
    MensagensFalsas& mensagens = t.mensagens;
    DestinoFalso destino;
    std::unique_ptr<ListaEscolha> lista;

    Posto() { t.abrirBaseDados(); }
    QSqlDatabase db() const { return t.estacao->bd(); }
    ListaEscolha& abrir(const QString& titulo)
    {
        t.estacao->Acesso.TituloMenu = titulo;
        mensagens.CursorOcupado(true);
        lista = std::make_unique<ListaEscolha>(*t.estacao, destino);
        lista->Form_Load();
        return *lista;
    }
    QString titulo() const { return t.estacao->Acesso.TituloMenu; }
};

QStringList linhaMostrada(const ListaEscolha& l, int posicao)
{
    QStringList v;
    for (int c = 0; c < l.colunas().size(); ++c)
        v << l.texto(posicao, c);
    return v;
}

// Column c of every row, in the order shown.
QStringList coluna(const ListaEscolha& l, int c)
{
    QStringList textos;
    for (int i = 0; i < l.NumeroLinhas(); ++i)
        textos << l.texto(i, c);
    return textos;
}

Semente::Valores partesCompletas()
{
    return {{"Código da entidade", "E1"},      {"Entidade", "Quinta D'Ouro"},
            {"Código do transportador", "T1"}, {"Transportador", "Transportes Lda"},
            {"Código do produto", "P1"},       {"Produto", "Milho"},
            {"Código do local de carga", "LC1"}, {"Local de carga", "Porto"},
            {"Código do local de descarga", "LD1"}, {"Local de descarga", "Lisboa"}};
}

const QStringList ColunasPartes = {"E1", "Quinta D'Ouro", "T1", "Transportes Lda", "P1", "Milho",
                                   "LC1", "Porto", "LD1", "Lisboa"};
const QStringList PartesVazias = {"", "", "", "", "", "", "", "", "", ""};

void viatura(const QSqlDatabase& db, const QString& codigo, const QString& matricula, const QVariant& tara,
             const QVariant& data = QVariant(), bool comPartes = false)
{
    Semente::Valores v{{"Código da viatura", codigo}, {"Viatura", matricula}, {"Peso de tara", tara},
                       {"Peso bruto", 40000}, {"Data", data}};
    if (comPartes)
        v += partesCompletas();
    Semente::inserir(db, QStringLiteral("Viaturas"), v);
}

}  // namespace

class TesteListaEscolha : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void linhasDasViaturas();
    void linhasDasPrimeirasPesagens();
    void linhasDasTabelasDeCodigos_data();
    void linhasDasTabelasDeCodigos();
    void tabelaVaziaOuTituloDesconhecido_data();
    void tabelaVaziaOuTituloDesconhecido();
    void leituraQueFalha();
    void todasAsLinhasListadas();
    void ordenacaoComoTexto();
    void procura_data();
    void procura();
    void procuraComecaNaOrdemMostrada();
};

void TesteListaEscolha::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
    // An hour that the spring clock change skips must still show as stored.
    qputenv("TZ", "Europe/Lisbon");
    tzset();
}

void TesteListaEscolha::linhasDasViaturas()
{
    Posto p;
    viatura(p.db(), "V1", "12-AB-34", 12345, "2026-03-04 07:08:09", true);
    viatura(p.db(), "V2", "34-CD-56", QVariant(), "2026-03-05 00:00:00");
    viatura(p.db(), "V3", "56-EF-78", 0, QVariant());
    viatura(p.db(), "V4", "78-GH-90", 1, "2026-03-29 01:30:00");
    ListaEscolha& l = p.abrir(Viat);
    QCOMPARE(l.caption(), Viat);
    QCOMPARE(l.NumeroLinhas(), 4);
    QCOMPARE(linhaMostrada(l, 0), (QStringList{"12-AB-34", "V1"} + ColunasPartes
                                      + QStringList{"12" + Nbsp + "345 kg", "40" + Nbsp + "000 kg", "04-03-2026 07:08:09"}));
    // A Null tare shows 0 kg; a midnight date shows no time.
    QCOMPARE(linhaMostrada(l, 1), (QStringList{"34-CD-56", "V2"} + PartesVazias
                                      + QStringList{"0 kg", "40" + Nbsp + "000 kg", "05-03-2026"}));
    // No date is shown as no date, never as the time of opening.
    QCOMPARE(l.texto(2, 14), QString());
    QCOMPARE(l.texto(3, 14), QStringLiteral("29-03-2026 01:30:00"));
    QCOMPARE(p.mensagens.cursorOcupado, 0);
    QVERIFY(p.mensagens.caixas.isEmpty());
    // The code goes to field 0; once closed, a header click changes nothing.
    l.lst_ItemClick(2);
    l.cmd_Click(1);
    QCOMPARE(p.destino.escritas, (QList<DestinoFalso::Escrita>{{0, "V3"}}));
    QCOMPARE(l.fim(), ListaEscolha::Fim::Escolhida);
    l.lst_ColumnClick(0);
    QCOMPARE(l.texto(2, 0), QStringLiteral("56-EF-78"));
}

void TesteListaEscolha::linhasDasPrimeirasPesagens()
{
    Posto p;
    Semente::Valores completa{{"Pesagem", 12345},       {"Tipo de pesagem", "P"},       {"Código da viatura", "V1"},
                              {"Viatura", "12-AB-34"},  {"Observações", ""},            {"Peso á entrada", 12345},
                              {"Báscula de entrada", "B1"}, {"Data de entrada", "2026-03-04 07:08:00"}};
    Semente::inserir(p.db(), "Pesagens", completa + partesCompletas());
    for (const char* tipo : {"E", "A", "P", "T"})
        Semente::inserir(p.db(), "Pesagens", {{"Tipo de pesagem", tipo}, {"Viatura", tipo == QLatin1String("P") ? QVariant() : "X"}});
    ListaEscolha& l = p.abrir(Prim);
    QCOMPARE(l.NumeroLinhas(), 2);
    QCOMPARE(linhaMostrada(l, 0), (QStringList{"12-AB-34", "V1"} + ColunasPartes
                                      + QStringList{"", "12" + Nbsp + "345 kg", "B1", "04-03-2026 07:08:00", "12345"}));
    QCOMPARE(l.etiqueta(0), QStringLiteral("12345"));  // plain digits, no thousands mark
    QCOMPARE(linhaMostrada(l, 1), (QStringList{"", ""} + PartesVazias + QStringList{"", "0 kg", "", "", "12348"}));
    l.lst_ItemClick(0);  // the code, then the plate
    l.cmd_Click(1);
    QCOMPARE(p.destino.escritas, (QList<DestinoFalso::Escrita>{{0, "V1"}, {1, "12-AB-34"}}));
}

void TesteListaEscolha::linhasDasTabelasDeCodigos_data()
{
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("tabela");
    QTest::addColumn<int>("campo");
    QTest::newRow("entidades") << Ent << "Entidades" << 2;
    QTest::newRow("transportadores") << Trp << "Transportadores" << 4;
    QTest::newRow("produtos") << Prd << "Produtos" << 6;
    QTest::newRow("locais de carga") << LC << "Locais de carga" << 8;
    QTest::newRow("locais de descarga") << LD << "Locais de descarga" << 10;
}

void TesteListaEscolha::linhasDasTabelasDeCodigos()
{
    QFETCH(QString, titulo);
    QFETCH(QString, tabela);
    QFETCH(int, campo);
    Posto p;
    Semente::codigo(p.db(), tabela, "B2", "Beta");
    Semente::codigo(p.db(), tabela, "N0", QVariant());
    ListaEscolha& l = p.abrir(titulo);

    // In the order stored; a Null name is an empty name, still picked by its code.
    QCOMPARE(linhaMostrada(l, 0), (QStringList{"Beta", "B2"}));
    QCOMPARE(linhaMostrada(l, 1), (QStringList{"", "N0"}));
    l.lst_ItemClick(1);
    QCOMPARE(l.painel(0), QStringLiteral("N0"));
    QCOMPARE(l.painel(1), QString());
    l.cmd_Click(1);
    QCOMPARE(p.destino.escritas, (QList<DestinoFalso::Escrita>{{campo, "N0"}}));
}

void TesteListaEscolha::tabelaVaziaOuTituloDesconhecido_data()
{
    QTest::addColumn<QString>("titulo");
    QTest::newRow("produtos sem linhas") << Prd;
    QTest::newRow("sem primeiras pesagens") << Prim;
    QTest::newRow("título de tabela") << QStringLiteral("Tabela de produtos");
    QTest::newRow("outra caixa de letra") << QStringLiteral("menu de produtos");
}

void TesteListaEscolha::tabelaVaziaOuTituloDesconhecido()
{
    QFETCH(QString, titulo);
    Posto p;
    Semente::inserir(p.db(), "Pesagens", {{"Tipo de pesagem", "E"}, {"Viatura", "COMPLETA"}});
    ListaEscolha& l = p.abrir(titulo);
    QCOMPARE(l.NumeroLinhas(), 0);
    QVERIFY(!l.listaVisivel() && l.cancelarTabStop());
    QCOMPARE(p.mensagens.cursorOcupado, 0);
    QVERIFY(p.mensagens.caixas.isEmpty());
    // Enter and Copiar do nothing; Esc cancels.
    l.lst_KeyPress(13, -1);
    l.cmd_Click(1);
    QCOMPARE(l.fim(), ListaEscolha::Fim::Aberta);
    l.lst_KeyPress(27, -1);
    QCOMPARE(l.fim(), ListaEscolha::Fim::Cancelada);
    QCOMPARE(p.titulo(), QString());
    QVERIFY(p.destino.escritas.isEmpty());
}

// A table that cannot be read, or a value that cannot be shown, is said once;
// the rows read before it stay.
void TesteListaEscolha::leituraQueFalha()
{
    Posto p;
    viatura(p.db(), "V1", "11-AA-11", 100);
    viatura(p.db(), "V3", "33-CC-33", qint64(3000000000));  // beyond a 32-bit weight
    viatura(p.db(), "V4", "44-DD-44", 400);
    const ListaEscolha& l = p.abrir(Viat);
    QCOMPARE(coluna(l, 0), QStringList{"11-AA-11"});
    QVERIFY(l.listaVisivel());
    QCOMPARE(p.mensagens.caixas.size(), 1);
    QCOMPARE(p.mensagens.caixas.first().titulo, QStringLiteral("Erro 6"));
    QVERIFY(p.mensagens.caixas.first().texto.startsWith(QStringLiteral("Erro no acesso à tabela de viaturas\n\n(")));
    QCOMPARE(p.mensagens.caixas.first().estilo, 48);

    Posto q;
    Consulta::executar(q.db(), QStringLiteral("ALTER TABLE Produtos RENAME TO Outros"));
    QCOMPARE(q.abrir(Prd).NumeroLinhas(), 0);
    QCOMPARE(q.mensagens.caixas.size(), 1);
    QVERIFY(q.mensagens.caixas.first().texto.startsWith(QStringLiteral("Erro no acesso à tabela de produtos\n\n(")));
    QCOMPARE(q.mensagens.cursorOcupado, 0);
}

void TesteListaEscolha::todasAsLinhasListadas()
{
    Posto p;
    Consulta::Transaccao tr(p.db());
    for (int i = 1; i <= 33000; ++i)
        Semente::codigo(p.db(), "Produtos", QStringLiteral("P%1").arg(i), QStringLiteral("Produto %1").arg(i));
    tr.confirmar();
    const ListaEscolha& l = p.abrir(Prd);
    QCOMPARE(l.NumeroLinhas(), 33000);
    QCOMPARE(linhaMostrada(l, 32999), (QStringList{"Produto 33000", "P33000"}));
}

// By the texts shown, letter case and accents as words are ordered; the
// selected row stays selected.
void TesteListaEscolha::ordenacaoComoTexto()
{
    Posto p;
    viatura(p.db(), "V1", "beta", 9);
    viatura(p.db(), "V2", "Ávila", 12345);
    viatura(p.db(), "V3", "Alfa", 10);
    ListaEscolha& l = p.abrir(Viat);
    l.lst_ItemClick(1);
    l.lst_ColumnClick(0);
    QCOMPARE(coluna(l, 0), (QStringList{"Alfa", "Ávila", "beta"}));
    QCOMPARE(l.posicaoSeleccionada(), 1);
    QCOMPARE(l.painel(1), QStringLiteral("Ávila"));
    l.lst_ColumnClick(15);  // no such column: nothing changes
    QCOMPARE(coluna(l, 0), (QStringList{"Alfa", "Ávila", "beta"}));
}

void TesteListaEscolha::procura_data()
{
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<int>("opcao");
    QTest::addColumn<QString>("resposta");
    QTest::addColumn<QString>("pergunta");
    QTest::addColumn<QString>("encontrado");  // the text of the row found; "" for none
    QTest::addColumn<QString>("mensagem");    // the box when none is found

    const QString porCodigo = QStringLiteral("Procurar em Código por:");
    QTest::newRow("código") << Prd << 0 << "a1" << porCodigo << "Alfa" << "";
    QTest::newRow("código parcial não serve") << Prd << 0 << "A" << porCodigo << ""
                                              << "O código A não foi encontrado";
    QTest::newRow("nome pelo começo, com plica") << Ent << 1 << "quinta d'" << "Procurar em Entidade por:"
                                                 << "Quinta D'Ouro" << "";
    QTest::newRow("nome que só contém não serve")
        << Ent << 1 << "ouro" << "Procurar em Entidade por:" << ""
        << "Não foi localizada nenhuma identificação que contenha ouro";
    QTest::newRow("qualquer coluna: o código") << Prd << 2 << "b2" << "Procurar em Menu de produtos por:" << "Beta"
                                               << "";
    QTest::newRow("qualquer coluna: não o nome")
        << Prd << 2 << "Beta" << "Procurar em Menu de produtos por:" << ""
        << "Não foi localizado na tabela nenhum campo com o descritivo Beta";
    QTest::newRow("local de descarga") << LD << 1 << "al" << "Procurar em Local descarga por:" << "Alfa" << "";
    QTest::newRow("pesagem pelo número") << Prim << 0 << "2" << "Procurar em Pesagem por:" << "99-ZZ-99" << "";
    QTest::newRow("viatura pela tara") << Viat << 2 << "200 kg" << "Procurar em Menu de viaturas por:" << "22-BB-22"
                                       << "";
}

void TesteListaEscolha::procura()
{
    QFETCH(QString, titulo);
    QFETCH(int, opcao);
    QFETCH(QString, resposta);
    QFETCH(QString, pergunta);
    QFETCH(QString, encontrado);
    QFETCH(QString, mensagem);
    Posto p;
    for (const char* t : {"Entidades", "Produtos", "Locais de descarga"}) {
        Semente::codigo(p.db(), t, "B2", "Beta");
        Semente::codigo(p.db(), t, "A1", "Alfa");
    }
    Semente::codigo(p.db(), "Entidades", "D1", "Quinta D'Ouro");
    viatura(p.db(), "V1", "11-AA-11", 100);
    viatura(p.db(), "V2", "22-BB-22", 200);
    Semente::inserir(p.db(), "Pesagens", {{"Tipo de pesagem", "P"}, {"Código da viatura", "V8"}, {"Viatura", "88-YY-88"}});
    Semente::inserir(p.db(), "Pesagens", {{"Tipo de pesagem", "P"}, {"Código da viatura", "V9"}, {"Viatura", "99-ZZ-99"}});
    ListaEscolha& l = p.abrir(titulo);
    l.lst_ItemClick(0);
    const QString antes = l.texto(0, 0);

    l.opt_Click(opcao);
    p.mensagens.textos.enqueue(resposta);
    l.cmd_Click(2);
    QCOMPARE(p.mensagens.perguntasTexto, QStringList{pergunta});
    QCOMPARE(l.texto(l.posicaoSeleccionada(), 0), mensagem.isEmpty() ? encontrado : antes);
    QCOMPARE(p.mensagens.caixas.size(), mensagem.isEmpty() ? 0 : 1);
    if (!mensagem.isEmpty()) {
        QCOMPARE(p.mensagens.caixas.first().texto, mensagem);
        QCOMPARE(p.mensagens.caixas.first().estilo, 64);
        QCOMPARE(p.mensagens.caixas.first().titulo, titulo);
    }
    QVERIFY(p.destino.escritas.isEmpty());
}

void TesteListaEscolha::procuraComecaNaOrdemMostrada()
{
    Posto p;
    Semente::codigo(p.db(), "Produtos", "M2", "Milho 2");
    Semente::codigo(p.db(), "Produtos", "M1", "Milho 1");
    ListaEscolha& l = p.abrir(Prd);

    // Blanks only, or Cancel: nothing at all.
    p.mensagens.textos << QStringLiteral("   ") << QString();
    l.opt_Click(1);
    l.cmd_Click(2);
    l.cmd_Click(2);
    QCOMPARE(l.posicaoSeleccionada(), -1);
    QVERIFY(p.mensagens.caixas.isEmpty());

    QVERIFY(l.ProcurarItem(QStringLiteral("milho"), ListaEscolha::ModoTexto));
    QCOMPARE(l.painel(0), QStringLiteral("M2"));
    l.lst_ColumnClick(0);
    QVERIFY(l.ProcurarItem(QStringLiteral("milho"), ListaEscolha::ModoTexto));
    QCOMPARE(l.painel(0), QStringLiteral("M1"));
}

QTEST_GUILESS_MAIN(TesteListaEscolha)
#include "tst_ListaEscolha.moc"

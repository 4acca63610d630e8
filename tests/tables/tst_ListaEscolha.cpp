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

// The boxes also remember the input box titles.
class MensagensComTitulos : public MensagensFalsas
{
public:
    QStringList titulosTexto;
    QString InputBox(const QString& pergunta, const QString& titulo, const QString& defeito) override
    {
        titulosTexto << titulo;
        return MensagensFalsas::InputBox(pergunta, titulo, defeito);
    }
};

// A station whose weighing screen has just asked for a list: the title set
// and the hourglass on.
struct Posto
{
    EstacaoTeste t;
    MensagensComTitulos mensagens;
    DestinoFalso destino;
    std::unique_ptr<ListaEscolha> lista;

    Posto()
    {
        t.estacao = std::make_unique<Estacao>(t.pasta(), mensagens, t.relogio, t.sistema);
        t.abrirBaseDados();
    }
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

// The five code-and-name lists: title, table.
void listasDeCodigos()
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

}  // namespace

class TesteListaEscolha : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void colunasDeCadaLista_data();
    void colunasDeCadaLista();
    void linhasDasViaturas();
    void linhasDasPrimeirasPesagens();
    void linhasDasTabelasDeCodigos_data();
    void linhasDasTabelasDeCodigos();
    void tabelaVaziaOuTituloDesconhecido_data();
    void tabelaVaziaOuTituloDesconhecido();
    void tabelaIlegivelDitaUmaVez();
    void leituraInterrompidaGuardaAsLinhasLidas();
    void todasAsLinhasListadas();
    void primeiroEnterSelecionaSegundoCopia();
    void escolhaEscreveOsCampos_data();
    void escolhaEscreveOsCampos();
    void cancelarLimpaOTituloENaoEscreve_data();
    void cancelarLimpaOTituloENaoEscreve();
    void ordenacaoPorColuna();
    void ordenacaoComoTexto();
    void procura_data();
    void procura();
    void procuraComecaNaOrdemMostrada();
};

void TesteListaEscolha::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
}

void TesteListaEscolha::colunasDeCadaLista_data()
{
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QStringList>("legendas");
    QTest::addColumn<QList<int>>("larguras");
    QTest::addColumn<QString>("alinhamentos");  // E left, D right, C centred
    QTest::addColumn<QString>("opt0");
    QTest::addColumn<QString>("opt1");

    const QStringList partes = {"C.Cli.", "Cliente ou fornecedor", "C.Trp.", "Transportador", "C.Prd.", "Produto",
                                "C.L.C.", "Local de carga", "C.L.D.", "Local de descarga"};
    const QList<int> largurasPartes = {600, 3000, 600, 3000, 600, 3000, 600, 3000, 600, 3000};
    QTest::newRow("viaturas") << Viat
                              << QStringList{"Viatura", "Código"} + partes + QStringList{"Tara", "Bruto", "Data"}
                              << QList<int>{1500, 600} + largurasPartes + QList<int>{900, 900, 1600}
                              << "EEEEEEEEEEEEDDC" << "Código" << "Viatura";
    QTest::newRow("primeiras pesagens")
        << Prim << QStringList{"Viatura", "Código"} + partes + QStringList{"Observações", "Peso", "B", "Data", "Pesagem"}
        << QList<int>{1500, 600} + largurasPartes + QList<int>{3000, 900, 250, 1600, 800} << "EEEEEEEEEEEEEDCCC"
        << "Pesagem" << "Viatura";
    QTest::newRow("entidades") << Ent << QStringList{"Cliente ou fornecedor", "Código"} << QList<int>{6000, 550}
                               << "EE" << "Código" << "Entidade";
    QTest::newRow("transportadores") << Trp << QStringList{"Transportador", "Código"} << QList<int>{6000, 550}
                                     << "EE" << "Código" << "Transportador";
    QTest::newRow("produtos") << Prd << QStringList{"Produto", "Código"} << QList<int>{6000, 550} << "EE"
                              << "Código" << "Produto";
    QTest::newRow("locais de carga") << LC << QStringList{"Local de carga", "Código"} << QList<int>{6000, 550}
                                     << "EE" << "Código" << "Local de carga";
    QTest::newRow("locais de descarga") << LD << QStringList{"Local de descarga", "Código"} << QList<int>{6000, 550}
                                        << "EE" << "Código" << "Local descarga";
}

void TesteListaEscolha::colunasDeCadaLista()
{
    QFETCH(QString, titulo);
    QFETCH(QStringList, legendas);
    QFETCH(QList<int>, larguras);
    QFETCH(QString, alinhamentos);
    QFETCH(QString, opt0);
    QFETCH(QString, opt1);
    Posto p;
    const ListaEscolha& l = p.abrir(titulo);
    QCOMPARE(l.caption(), titulo);
    QStringList obtidas;
    QList<int> largurasObtidas;
    QString alinhamentosObtidos;
    for (const ColunaLista& c : l.colunas()) {
        obtidas << c.legenda;
        largurasObtidas << c.larguraTwips;
        alinhamentosObtidos += c.alinhamento == Qt::AlignRight ? u'D' : c.alinhamento == Qt::AlignHCenter ? u'C' : u'E';
    }
    QCOMPARE(obtidas, legendas);
    QCOMPARE(largurasObtidas, larguras);
    QCOMPARE(alinhamentosObtidos, alinhamentos);
    QCOMPARE(l.legendaOpt(0), opt0);
    QCOMPARE(l.legendaOpt(1), opt1);
    QCOMPARE(l.legendaOpt(2), QStringLiteral("Qualquer"));
    QCOMPARE(l.optSeleccionada(), 0);
}

void TesteListaEscolha::linhasDasViaturas()
{
    Posto p;
    viatura(p.db(), "V1", "12-AB-34", 12345, "2026-03-04 07:08:09", true);
    viatura(p.db(), "V2", "34-CD-56", QVariant(), "2026-03-05 00:00:00");
    viatura(p.db(), "V3", "56-EF-78", 0, QVariant());
    const ListaEscolha& l = p.abrir(Viat);

    QCOMPARE(l.NumeroLinhas(), 3);
    QCOMPARE(linhaMostrada(l, 0), (QStringList{"12-AB-34", "V1"} + ColunasPartes
                                      + QStringList{"12" + Nbsp + "345 kg", "40" + Nbsp + "000 kg", "04-03-2026 07:08:09"}));
    // A Null tare shows 0 kg; a midnight date shows no time.
    QCOMPARE(linhaMostrada(l, 1), (QStringList{"34-CD-56", "V2"} + PartesVazias
                                      + QStringList{"0 kg", "40" + Nbsp + "000 kg", "05-03-2026"}));
    // No date is shown as no date, never as the time of opening.
    QCOMPARE(linhaMostrada(l, 2), (QStringList{"56-EF-78", "V3"} + PartesVazias
                                      + QStringList{"0 kg", "40" + Nbsp + "000 kg", ""}));
    QCOMPARE(l.etiqueta(0), QStringLiteral("V1"));
    QCOMPARE(l.etiqueta(2), QStringLiteral("V3"));
    QVERIFY(l.listaVisivel());
    QVERIFY(l.procuraVisivel());
    QVERIFY(!l.cancelarTabStop());
    QVERIFY(!l.copiarVisivel());
    QVERIFY(!l.stbVisivel());
    QCOMPARE(l.posicaoSeleccionada(), -1);
    QCOMPARE(p.mensagens.cursorOcupado, 0);
    QVERIFY(p.mensagens.caixas.isEmpty());
}

void TesteListaEscolha::linhasDasPrimeirasPesagens()
{
    Posto p;
    Semente::Valores completa{{"Pesagem", 12345},
                              {"Tipo de pesagem", "P"},
                              {"Código da viatura", "V1"},
                              {"Viatura", "12-AB-34"},
                              {"Observações", ""},
                              {"Peso á entrada", 12345},
                              {"Báscula de entrada", "B1"},
                              {"Data de entrada", "2026-03-04 07:08:00"},
                              {"Hora de entrada", "07:08"}};
    Semente::inserir(p.db(), "Pesagens", completa + partesCompletas());
    Semente::inserir(p.db(), "Pesagens", {{"Tipo de pesagem", "E"}, {"Viatura", "COMPLETA"}});
    Semente::inserir(p.db(), "Pesagens", {{"Tipo de pesagem", "A"}, {"Viatura", "ANULADA"}});
    Semente::inserir(p.db(), "Pesagens", {{"Tipo de pesagem", "P"}});
    Semente::inserir(p.db(), "Pesagens", {{"Tipo de pesagem", "T"}, {"Viatura", "TALAO"}});
    const ListaEscolha& l = p.abrir(Prim);

    QCOMPARE(l.NumeroLinhas(), 2);
    QCOMPARE(linhaMostrada(l, 0), (QStringList{"12-AB-34", "V1"} + ColunasPartes
                                      + QStringList{"", "12" + Nbsp + "345 kg", "B1", "04-03-2026 07:08:00", "12345"}));
    QCOMPARE(l.etiqueta(0), QStringLiteral("12345"));  // plain digits, no thousands mark
    QCOMPARE(linhaMostrada(l, 1), (QStringList{"", ""} + PartesVazias + QStringList{"", "0 kg", "", "", "12348"}));
    QCOMPARE(l.etiqueta(1), QStringLiteral("12348"));
}

void TesteListaEscolha::linhasDasTabelasDeCodigos_data()
{
    listasDeCodigos();
}

void TesteListaEscolha::linhasDasTabelasDeCodigos()
{
    QFETCH(QString, titulo);
    QFETCH(QString, tabela);
    QFETCH(int, campo);
    Posto p;
    Semente::codigo(p.db(), tabela, "B2", "Beta");
    Semente::codigo(p.db(), tabela, "A1", "Alfa");
    Semente::codigo(p.db(), tabela, "N0", QVariant());
    ListaEscolha& l = p.abrir(titulo);

    // In the order stored; a Null name is an empty name, still picked by its code.
    QCOMPARE(l.NumeroLinhas(), 3);
    QCOMPARE(linhaMostrada(l, 0), (QStringList{"Beta", "B2"}));
    QCOMPARE(linhaMostrada(l, 1), (QStringList{"Alfa", "A1"}));
    QCOMPARE(linhaMostrada(l, 2), (QStringList{"", "N0"}));
    QCOMPARE(l.etiqueta(1), QStringLiteral("A1"));
    l.lst_ItemClick(2);
    QCOMPARE(l.painel(0), QStringLiteral("N0"));
    QCOMPARE(l.painel(1), QString());
    l.cmd_Click(1);
    QCOMPARE(p.destino.escritas, (QList<DestinoFalso::Escrita>{{campo, "N0"}}));
}

void TesteListaEscolha::tabelaVaziaOuTituloDesconhecido_data()
{
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<int>("colunas");
    QTest::newRow("produtos sem linhas") << Prd << 2;
    QTest::newRow("viaturas sem linhas") << Viat << 15;
    QTest::newRow("sem primeiras pesagens") << Prim << 17;
    QTest::newRow("título de tabela") << QStringLiteral("Tabela de produtos") << 0;
    QTest::newRow("outra caixa de letra") << QStringLiteral("menu de produtos") << 0;
    QTest::newRow("vazio") << QString() << 0;
}

void TesteListaEscolha::tabelaVaziaOuTituloDesconhecido()
{
    QFETCH(QString, titulo);
    QFETCH(int, colunas);
    Posto p;
    Semente::inserir(p.db(), "Pesagens", {{"Tipo de pesagem", "E"}, {"Viatura", "COMPLETA"}});
    ListaEscolha& l = p.abrir(titulo);
    QCOMPARE(l.colunas().size(), colunas);
    QCOMPARE(l.NumeroLinhas(), 0);
    QVERIFY(!l.listaVisivel());
    QVERIFY(!l.procuraVisivel());
    QVERIFY(l.cancelarTabStop());
    QVERIFY(!l.copiarVisivel());
    QVERIFY(!l.stbVisivel());
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

void TesteListaEscolha::tabelaIlegivelDitaUmaVez()
{
    Posto p;
    Semente::codigo(p.db(), "Produtos", "A1", "Alfa");
    Consulta::executar(p.db(), QStringLiteral("ALTER TABLE Produtos RENAME TO Outros"));
    const ListaEscolha& l = p.abrir(Prd);
    QCOMPARE(l.NumeroLinhas(), 0);
    QVERIFY(!l.listaVisivel());
    QCOMPARE(p.mensagens.cursorOcupado, 0);
    QCOMPARE(p.mensagens.caixas.size(), 1);
    const auto& caixa = p.mensagens.caixas.first();
    QVERIFY2(caixa.texto.startsWith(QStringLiteral("Erro no acesso à tabela de produtos\n\n(")), qPrintable(caixa.texto));
    QVERIFY(caixa.texto.endsWith(u')'));
    QCOMPARE(caixa.estilo, 48);
    QVERIFY(caixa.titulo.startsWith(QStringLiteral("Erro ")));
}

void TesteListaEscolha::leituraInterrompidaGuardaAsLinhasLidas()
{
    Posto p;
    viatura(p.db(), "V1", "11-AA-11", 100);
    viatura(p.db(), "V2", "22-BB-22", 200);
    viatura(p.db(), "V3", "33-CC-33", qint64(3000000000));  // beyond a 32-bit weight
    viatura(p.db(), "V4", "44-DD-44", 400);
    const ListaEscolha& l = p.abrir(Viat);
    QCOMPARE(coluna(l, 0), (QStringList{"11-AA-11", "22-BB-22"}));
    QVERIFY(l.listaVisivel());
    QCOMPARE(p.mensagens.caixas.size(), 1);
    QCOMPARE(p.mensagens.caixas.first().titulo, QStringLiteral("Erro 6"));
    QVERIFY(p.mensagens.caixas.first().texto.startsWith(QStringLiteral("Erro no acesso à tabela de viaturas\n\n(")));
    QCOMPARE(p.mensagens.cursorOcupado, 0);
}

void TesteListaEscolha::todasAsLinhasListadas()
{
    Posto p;
    {
        Consulta::Transaccao tr(p.db());
        for (int i = 1; i <= 33000; ++i)
            Semente::codigo(p.db(), "Produtos", QStringLiteral("P%1").arg(i), QStringLiteral("Produto %1").arg(i));
        tr.confirmar();
    }
    const ListaEscolha& l = p.abrir(Prd);
    QCOMPARE(l.NumeroLinhas(), 33000);
    QCOMPARE(linhaMostrada(l, 32767), (QStringList{"Produto 32768", "P32768"}));
    QCOMPARE(linhaMostrada(l, 32999), (QStringList{"Produto 33000", "P33000"}));
    QVERIFY(p.mensagens.caixas.isEmpty());
}

void TesteListaEscolha::primeiroEnterSelecionaSegundoCopia()
{
    Posto p;
    viatura(p.db(), "V1", "11-AA-11", 100);
    viatura(p.db(), "V2", "22-BB-22", 200);
    ListaEscolha& l = p.abrir(Viat);

    l.lst_KeyPress(13, 1);  // the list's current row is the second
    QCOMPARE(l.posicaoSeleccionada(), 1);
    QVERIFY(l.copiarVisivel());
    QVERIFY(l.stbVisivel());
    QCOMPARE(l.painel(0), QStringLiteral("V2"));
    QCOMPARE(l.painel(1), QStringLiteral("22-BB-22"));
    QVERIFY(p.destino.escritas.isEmpty());
    QCOMPARE(l.fim(), ListaEscolha::Fim::Aberta);

    l.lst_KeyPress(13, 1);
    QCOMPARE(p.destino.escritas, (QList<DestinoFalso::Escrita>{{0, "V2"}}));
    QCOMPARE(l.fim(), ListaEscolha::Fim::Escolhida);
    QCOMPARE(p.titulo(), Viat);

    // Closed: nothing more is written or cancelled.
    l.lst_KeyPress(13, 0);
    l.Cancelar();
    QCOMPARE(p.destino.escritas.size(), 1);
    QCOMPARE(p.titulo(), Viat);
}

void TesteListaEscolha::escolhaEscreveOsCampos_data()
{
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<int>("posicao");
    QTest::addColumn<QList<DestinoFalso::Escrita>>("escritas");
    QTest::newRow("viaturas: o código em 0") << Viat << 1 << QList<DestinoFalso::Escrita>{{0, "V2"}};
    QTest::newRow("primeiras pesagens: código em 0, matrícula em 1")
        << Prim << 1 << QList<DestinoFalso::Escrita>{{0, "V9"}, {1, "99-ZZ-99"}};
    QTest::newRow("entidades em 2") << Ent << 0 << QList<DestinoFalso::Escrita>{{2, "B2"}};
    QTest::newRow("transportadores em 4") << Trp << 0 << QList<DestinoFalso::Escrita>{{4, "B2"}};
    QTest::newRow("produtos em 6") << Prd << 1 << QList<DestinoFalso::Escrita>{{6, "A1"}};
    QTest::newRow("locais de carga em 8") << LC << 0 << QList<DestinoFalso::Escrita>{{8, "B2"}};
    QTest::newRow("locais de descarga em 10") << LD << 1 << QList<DestinoFalso::Escrita>{{10, "A1"}};
}

void TesteListaEscolha::escolhaEscreveOsCampos()
{
    QFETCH(QString, titulo);
    QFETCH(int, posicao);
    QFETCH(QList<DestinoFalso::Escrita>, escritas);
    Posto p;
    for (const char* t : {"Entidades", "Transportadores", "Produtos", "Locais de carga", "Locais de descarga"}) {
        Semente::codigo(p.db(), t, "B2", "Beta");
        Semente::codigo(p.db(), t, "A1", "Alfa");
    }
    viatura(p.db(), "V1", "11-AA-11", 100);
    viatura(p.db(), "V2", "22-BB-22", 200);
    Semente::inserir(p.db(), "Pesagens", {{"Tipo de pesagem", "P"}, {"Código da viatura", "V8"}, {"Viatura", "88-YY-88"}});
    Semente::inserir(p.db(), "Pesagens", {{"Tipo de pesagem", "P"}, {"Código da viatura", "V9"}, {"Viatura", "99-ZZ-99"}});
    ListaEscolha& l = p.abrir(titulo);
    l.lst_ItemClick(posicao);
    QVERIFY(p.destino.escritas.isEmpty());
    l.cmd_Click(1);
    QCOMPARE(p.destino.escritas, escritas);
    QCOMPARE(l.fim(), ListaEscolha::Fim::Escolhida);
    QCOMPARE(p.titulo(), titulo);
}

void TesteListaEscolha::cancelarLimpaOTituloENaoEscreve_data()
{
    QTest::addColumn<int>("maneira");
    QTest::newRow("Esc na lista") << 0;
    QTest::newRow("Cancelar") << 1;
    QTest::newRow("Esc num botão") << 2;
    QTest::newRow("fecho da janela") << 3;
}

void TesteListaEscolha::cancelarLimpaOTituloENaoEscreve()
{
    QFETCH(int, maneira);
    Posto p;
    Semente::codigo(p.db(), "Produtos", "A1", "Alfa");
    ListaEscolha& l = p.abrir(Prd);
    l.lst_ItemClick(0);
    switch (maneira) {
    case 0: l.lst_KeyPress(27, 0); break;
    case 1: l.cmd_Click(0); break;
    case 2: l.cmd_KeyPress(27); break;
    default: l.Cancelar(); break;
    }
    QCOMPARE(l.fim(), ListaEscolha::Fim::Cancelada);
    QCOMPARE(p.titulo(), QString());
    l.CopiarSelecao();
    QVERIFY(p.destino.escritas.isEmpty());
}

void TesteListaEscolha::ordenacaoPorColuna()
{
    Posto p;
    Semente::codigo(p.db(), "Produtos", "B", "beta");
    Semente::codigo(p.db(), "Produtos", "C", "Ávila");
    Semente::codigo(p.db(), "Produtos", "A", "Alfa");
    Semente::codigo(p.db(), "Produtos", "D", "Zeta");
    ListaEscolha& l = p.abrir(Prd);
    QCOMPARE(coluna(l, 0), (QStringList{"beta", "Ávila", "Alfa", "Zeta"}));  // unsorted: as stored
    l.lst_ItemClick(1);  // Ávila stays selected whatever the order

    l.lst_ColumnClick(0);
    QCOMPARE(l.colunaOrdem(), 0);
    QCOMPARE(coluna(l, 0), (QStringList{"Alfa", "Ávila", "beta", "Zeta"}));
    QCOMPARE(l.posicaoSeleccionada(), 1);
    l.lst_ColumnClick(0);
    QCOMPARE(coluna(l, 0), (QStringList{"Zeta", "beta", "Ávila", "Alfa"}));
    QCOMPARE(l.posicaoSeleccionada(), 2);

    // One direction for the whole list: another column flips it too.
    l.lst_ColumnClick(0);  // ascending
    l.lst_ColumnClick(1);  // so the codes come descending
    QCOMPARE(l.colunaOrdem(), 1);
    QCOMPARE(coluna(l, 1), (QStringList{"D", "C", "B", "A"}));
    QCOMPARE(l.painel(1), QStringLiteral("Ávila"));
    l.lst_ColumnClick(5);  // no such column: nothing changes
    QCOMPARE(coluna(l, 1), (QStringList{"D", "C", "B", "A"}));
}

void TesteListaEscolha::ordenacaoComoTexto()
{
    Posto p;
    viatura(p.db(), "V1", "11-AA-11", 9);
    viatura(p.db(), "V2", "22-BB-22", 12345);
    viatura(p.db(), "V3", "33-CC-33", 10);
    ListaEscolha& l = p.abrir(Viat);
    l.lst_ColumnClick(12);  // "Tara"
    QCOMPARE(coluna(l, 12), (QStringList{"10 kg", "12" + Nbsp + "345 kg", "9 kg"}));
    l.lst_ColumnClick(12);
    QCOMPARE(coluna(l, 12), (QStringList{"9 kg", "12" + Nbsp + "345 kg", "10 kg"}));
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
    QTest::newRow("código inexistente") << Prd << 0 << "ZZ" << porCodigo << ""
                                        << "O código ZZ não foi encontrado";
    QTest::newRow("código parcial não serve") << Prd << 0 << "A" << porCodigo << ""
                                              << "O código A não foi encontrado";
    QTest::newRow("nome com plica") << Ent << 1 << "quinta d'" << "Procurar em Entidade por:" << "Quinta D'Ouro"
                                    << "";
    QTest::newRow("nome com branco à frente")
        << Ent << 1 << " qu" << "Procurar em Entidade por:" << ""
        << "Não foi localizada nenhuma identificação que contenha  qu";
    QTest::newRow("qualquer coluna: o código") << Prd << 2 << "b2" << "Procurar em Menu de produtos por:" << "Beta"
                                               << "";
    QTest::newRow("qualquer coluna: não o nome")
        << Prd << 2 << "Beta" << "Procurar em Menu de produtos por:" << ""
        << "Não foi localizado na tabela nenhum campo com o descritivo Beta";
    QTest::newRow("local de descarga") << LD << 1 << "al" << "Procurar em Local descarga por:" << "Alfa" << "";
    QTest::newRow("pesagem pelo número") << Prim << 0 << "2" << "Procurar em Pesagem por:" << "99-ZZ-99" << "";
    QTest::newRow("pesagem pela matrícula") << Prim << 1 << "88" << "Procurar em Viatura por:" << "88-YY-88" << "";
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
    QCOMPARE(p.mensagens.titulosTexto, QStringList{titulo});
    if (mensagem.isEmpty()) {
        QVERIFY(p.mensagens.caixas.isEmpty());
        QCOMPARE(l.texto(l.posicaoSeleccionada(), 0), encontrado);
        QCOMPARE(l.painel(1), encontrado);
    } else {
        QCOMPARE(p.mensagens.caixas.size(), 1);
        QCOMPARE(p.mensagens.caixas.first().texto, mensagem);
        QCOMPARE(p.mensagens.caixas.first().estilo, 64);
        QCOMPARE(p.mensagens.caixas.first().titulo, titulo);
        QCOMPARE(l.texto(l.posicaoSeleccionada(), 0), antes);
    }
    QVERIFY(p.destino.escritas.isEmpty());
    QCOMPARE(l.fim(), ListaEscolha::Fim::Aberta);
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
    QVERIFY(!l.copiarVisivel());
    QVERIFY(p.mensagens.caixas.isEmpty());

    QVERIFY(l.ProcurarItem(QStringLiteral("milho"), ListaEscolha::ModoTexto));
    QCOMPARE(l.painel(0), QStringLiteral("M2"));
    QVERIFY(l.copiarVisivel());
    QVERIFY(l.stbVisivel());
    l.lst_ColumnClick(0);
    QVERIFY(l.ProcurarItem(QStringLiteral("milho"), ListaEscolha::ModoTexto));
    QCOMPARE(l.painel(0), QStringLiteral("M1"));
    QCOMPARE(l.posicaoSeleccionada(), 0);
}

QTEST_GUILESS_MAIN(TesteListaEscolha)
#include "tst_ListaEscolha.moc"

#include "tables/CatalogoTabelas.h"

#include "shared/Esquema.h"

#include <QDir>

namespace {

ColunaGrelha texto(const QString& legenda, double largura, int limite, RegraTecla regra = RegraTecla::Livre)
{
    ColunaGrelha c;
    c.legenda = legenda;
    c.largura = largura;
    c.limite = limite;
    c.regra = regra;
    return c;
}

ColunaGrelha proporcional(const QString& legenda, int parte, int todo, int limite, RegraTecla regra)
{
    ColunaGrelha c = texto(legenda, 0, limite, regra);
    c.parte = parte;
    c.todo = todo;
    return c;
}

ColunaGrelha alinhada(ColunaGrelha c, Qt::Alignment a, FormatoColuna f = FormatoColuna::Nenhum)
{
    c.alinhamento = a;
    c.formato = f;
    return c;
}

ColunaGrelha oculta()
{
    ColunaGrelha c;
    c.oculta = true;
    return c;
}

// The five code-and-name pairs that vehicles and weighings share.
QList<ColunaGrelha> partes()
{
    QList<ColunaGrelha> l;
    const char* pares[][2] = {{"C.Ent.", "Entidade"},
                              {"C.Tra.", "Transportador"},
                              {"C.Prd.", "Produto"},
                              {"C.Crg.", "Local de carga"},
                              {"C.Dsc.", "Local de descarga"}};
    for (const auto& p : pares) {
        l << texto(QString::fromUtf8(p[0]), 800, 8, RegraTecla::Maiusculas) << texto(QString::fromUtf8(p[1]), 4000, 40);
    }
    return l;
}

QList<ColunaGrelha> viatura()
{
    return {proporcional(QStringLiteral("Código da viatura"), 8, 24, 8, RegraTecla::Maiusculas),
            proporcional(QStringLiteral("Viatura"), 16, 24, 16, RegraTecla::Maiusculas)};
}

ColunaGrelha peso(const QString& legenda)
{
    return alinhada(texto(legenda, 900, 0, RegraTecla::Digitos), Qt::AlignRight, FormatoColuna::Peso);
}
ColunaGrelha data()
{
    return alinhada(texto(QStringLiteral("Data"), 1800, 0, RegraTecla::Data), Qt::AlignHCenter,
                    FormatoColuna::DataGeral);
}
ColunaGrelha hora()
{
    return alinhada(texto(QStringLiteral("Hora"), 600, 5, RegraTecla::Hora), Qt::AlignHCenter);
}

EntradaTabela codigoENome(const QString& titulo, const QString& tabela, const QString& prefixo, const QString& listagem,
                          const QString& nome)
{
    return {titulo,
            tabela,
            false,
            prefixo,
            listagem,
            0,
            0,
            {proporcional(QStringLiteral("Código"), 8, 48, 8, RegraTecla::Maiusculas),
             proporcional(nome, 40, 48, 40, RegraTecla::Livre)}};
}

QList<EntradaTabela> construir()
{
    EntradaTabela viaturas{QStringLiteral("Tabela de viaturas"),
                           Esquema::Viaturas,
                           false,
                           QStringLiteral("Viatura "),
                           QStringLiteral("l_viaturas.rpt"),
                           0,
                           0,
                           viatura() + partes()};
    viaturas.colunas << peso(QStringLiteral("Tara")) << peso(QStringLiteral("Bruto")) << data() << hora() << oculta();

    const auto centro = [](const QString& legenda, double largura, int limite) {
        return alinhada(texto(legenda, largura, limite, RegraTecla::Digitos), Qt::AlignHCenter);
    };
    EntradaTabela entidades{QStringLiteral("Tabela de clientes e fornecedores"),
                            Esquema::Entidades,
                            false,
                            QStringLiteral("Entidade "),
                            QStringLiteral("l_entidades.rpt"),
                            0,
                            0,
                            {proporcional(QStringLiteral("Código"), 8, 48, 8, RegraTecla::Maiusculas),
                             proporcional(QStringLiteral("Cliente ou fornecedor"), 40, 48, 40, RegraTecla::Livre),
                             texto(QStringLiteral("Morada"), 4000, 40), centro(QStringLiteral("C.P."), 500, 4),
                             centro(QStringLiteral("Z.P."), 500, 3), texto(QStringLiteral("Localidade"), 3000, 30),
                             centro(QStringLiteral("Contrib."), 1000, 9)}};

    // Pending first weighings: number, kind and document number hidden, the
    // exit fields too. Novo lands on the first visible column, not on the
    // hidden row number.
    EntradaTabela pendentes{QStringLiteral("Tabela de primeiras pesagens"),
                            Esquema::Pesagens,
                            true,
                            QStringLiteral("Primeira pesagem "),
                            QStringLiteral("l_pripesagens.rpt"),
                            3,
                            3,
                            {oculta(), oculta(), oculta()}};
    pendentes.colunas += viatura() + partes();
    pendentes.colunas << texto(QStringLiteral("Observações"), 4000, 0) << peso(QStringLiteral("Peso"))
                      << alinhada(texto(QStringLiteral("B"), 400, 0), Qt::AlignHCenter) << data() << hora();
    for (int i = 20; i <= 26; ++i)
        pendentes.colunas << oculta();
    pendentes.colunas[0].soLeitura = true;

    EntradaTabela produtos =
        codigoENome(QStringLiteral("Tabela de produtos"), Esquema::Produtos, QStringLiteral("Produto "),
                    QStringLiteral("l_produtos.rpt"), QStringLiteral("Produto"));
    produtos.colunaNovo = 1;
    return {
        viaturas,
        entidades,
        codigoENome(QStringLiteral("Tabela de transportadores"), Esquema::Transportadores,
                    QStringLiteral("Transportador "), QStringLiteral("l_transportadores.rpt"),
                    QStringLiteral("Transportador")),
        produtos,
        codigoENome(QStringLiteral("Tabela de locais de carga"), Esquema::LocaisCarga,
                    QStringLiteral("Local de carga "), QStringLiteral("l_loccarga.rpt"),
                    QStringLiteral("Local de carga")),
        codigoENome(QStringLiteral("Tabela de locais de descarga"), Esquema::LocaisDescarga,
                    QStringLiteral("Local de descarga "), QStringLiteral("l_locdescarga.rpt"),
                    QStringLiteral("Local de descarga")),
        pendentes,
    };
}

}  // namespace

namespace CatalogoTabelas {

const QList<EntradaTabela>& entradas()
{
    static const QList<EntradaTabela> todas = construir();
    return todas;
}

const EntradaTabela* entrada(const QString& titulo)
{
    for (const EntradaTabela& e : entradas()) {
        if (e.titulo == titulo)
            return &e;
    }
    return nullptr;
}

PedidoRelatorio pedidoListagem(const EntradaTabela& e, const QString& pastaPrograma, int destino)
{
    PedidoRelatorio p;
    p.FicheiroRelatorio = QDir(pastaPrograma).filePath(e.listagem);
    p.Destino = destino;
    if (destino == DestinoRelatorio::Janela) {
        p.Esquerda = 0;
        p.Topo = 0;
        p.EstadoJanela = EstadoJanelaRelatorio::Maximizada;
        p.TituloJanela = e.titulo;
    }
    p.FormulaSeleccao = QString();
    p.Copias = 1;
    return p;
}

}  // namespace CatalogoTabelas

#include "tables/ConteudoListas.h"

#include "data/Consulta.h"
#include "data/ModGlobalCampos.h"
#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "shared/Esquema.h"
#include "tables/TitulosMenu.h"

#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstring>
#include <optional>

namespace {

// How each value is packed: a mark, then the value.
enum Marca : char { MarcaNulo = 'N', MarcaInteiro = 'I', MarcaTexto = 'T', MarcaTextoNulo = 'n' };

template <typename T> void juntar(QByteArray& dados, T valor)
{
    dados.append(reinterpret_cast<const char*>(&valor), sizeof valor);
}

template <typename T> T tirar(const char*& p)
{
    T valor;
    std::memcpy(&valor, p, sizeof valor);
    p += sizeof valor;
    return valor;
}

}  // namespace

void LinhaLista::acrescentar(const QVariant& valor)
{
    if (valor.isNull()) {
        // A Null text and a Null number read differently (Val of Null is 0).
        m_dados.append(valor.typeId() == QMetaType::QString ? char(MarcaTextoNulo) : char(MarcaNulo));
    } else if (valor.typeId() == QMetaType::LongLong || valor.typeId() == QMetaType::Int) {
        m_dados.append(char(MarcaInteiro));
        juntar(m_dados, valor.toLongLong());
    } else {
        const QByteArray t = valor.toString().toUtf8();
        m_dados.append(char(MarcaTexto));
        juntar(m_dados, qint32(t.size()));
        m_dados.append(t);
    }
}

QVariant LinhaLista::valor(int i) const
{
    const char* p = m_dados.constData();
    const char* const fim = p + m_dados.size();
    for (int n = 0; p < fim; ++n) {
        const char marca = *p++;
        switch (marca) {
        case MarcaInteiro: {
            const qint64 v = tirar<qint64>(p);
            if (n == i)
                return v;
            break;
        }
        case MarcaTexto: {
            const qint32 tamanho = tirar<qint32>(p);
            if (n == i)
                return QString::fromUtf8(p, tamanho);
            p += tamanho;
            break;
        }
        default:
            if (n == i)
                return marca == MarcaTextoNulo ? QVariant(QMetaType::fromType<QString>())
                                               : QVariant(QMetaType::fromType<qlonglong>());
            break;
        }
    }
    return {};
}

namespace ConteudoListas {

namespace {

ColunaLista coluna(const QString& legenda, int largura, const QString& campo, Qt::Alignment alinhamento = Qt::AlignLeft,
                   Conversao conversao = Conversao::Texto)
{
    return ColunaLista{legenda, largura, alinhamento, campo, conversao};
}

// The plate, the vehicle code and the ten party columns that the vehicle and
// first-weighing lists share.
QList<ColunaLista> colunasViatura()
{
    return {
        coluna(QStringLiteral("Viatura"), 1500, QStringLiteral("Viatura")),
        coluna(QStringLiteral("Código"), 600, QStringLiteral("Código da viatura")),
        coluna(QStringLiteral("C.Cli."), 600, QStringLiteral("Código da entidade")),
        coluna(QStringLiteral("Cliente ou fornecedor"), 3000, QStringLiteral("Entidade")),
        coluna(QStringLiteral("C.Trp."), 600, QStringLiteral("Código do transportador")),
        coluna(QStringLiteral("Transportador"), 3000, QStringLiteral("Transportador")),
        coluna(QStringLiteral("C.Prd."), 600, QStringLiteral("Código do produto")),
        coluna(QStringLiteral("Produto"), 3000, QStringLiteral("Produto")),
        coluna(QStringLiteral("C.L.C."), 600, QStringLiteral("Código do local de carga")),
        coluna(QStringLiteral("Local de carga"), 3000, QStringLiteral("Local de carga")),
        coluna(QStringLiteral("C.L.D."), 600, QStringLiteral("Código do local de descarga")),
        coluna(QStringLiteral("Local de descarga"), 3000, QStringLiteral("Local de descarga")),
    };
}

// The list of a code-and-name table: the name column, then the code; both
// fields as the schema names them (the code first, then the name).
DefinicaoLista listaCodigos(const QString& titulo, const QString& tabela, const QString& legendaNome,
                            const QString& legendaOpt1, const QString& nomeTabela)
{
    const Tabela& t = *Esquema::tabela(tabela);
    const QString& campoCodigo = t.campos.at(0).nome;
    DefinicaoLista d;
    d.titulo = titulo;
    d.tabela = tabela;
    d.campoEtiqueta = campoCodigo;
    d.colunas = {coluna(legendaNome, 6000, t.campos.at(1).nome), coluna(QStringLiteral("Código"), 550, campoCodigo)};
    d.legendaOpt0 = QStringLiteral("Código");
    d.legendaOpt1 = legendaOpt1;
    d.cabecalhoErro = QStringLiteral("Erro no acesso à tabela de ") + nomeTabela;
    return d;
}

QList<DefinicaoLista> construirListas()
{
    DefinicaoLista viaturas;
    viaturas.titulo = TitulosMenu::Viaturas;
    viaturas.tabela = Esquema::Viaturas;
    viaturas.campoEtiqueta = QStringLiteral("Código da viatura");
    viaturas.colunas = colunasViatura();
    viaturas.colunas += {
        coluna(QStringLiteral("Tara"), 900, QStringLiteral("Peso de tara"), Qt::AlignRight, Conversao::Peso),
        coluna(QStringLiteral("Bruto"), 900, QStringLiteral("Peso bruto"), Qt::AlignRight, Conversao::Peso),
        coluna(QStringLiteral("Data"), 1600, QStringLiteral("Data"), Qt::AlignHCenter, Conversao::Data),
    };
    viaturas.legendaOpt0 = QStringLiteral("Código");
    viaturas.legendaOpt1 = QStringLiteral("Viatura");
    viaturas.cabecalhoErro = QStringLiteral("Erro no acesso à tabela de viaturas");

    DefinicaoLista primeiras;
    primeiras.titulo = TitulosMenu::PrimeirasPesagens;
    primeiras.tabela = Esquema::Pesagens;
    primeiras.soPrimeirasPesagens = true;
    primeiras.campoEtiqueta = QStringLiteral("Pesagem");
    primeiras.colunas = colunasViatura();
    // The hour of the first weighing is not shown: the date column carries it.
    primeiras.colunas += {
        coluna(QStringLiteral("Observações"), 3000, QStringLiteral("Observações")),
        coluna(QStringLiteral("Peso"), 900, QStringLiteral("Peso á entrada"), Qt::AlignRight, Conversao::Peso),
        coluna(QStringLiteral("B"), 250, QStringLiteral("Báscula de entrada"), Qt::AlignHCenter),
        coluna(QStringLiteral("Data"), 1600, QStringLiteral("Data de entrada"), Qt::AlignHCenter, Conversao::Data),
        coluna(QStringLiteral("Pesagem"), 800, QStringLiteral("Pesagem"), Qt::AlignHCenter, Conversao::Numero),
    };
    primeiras.legendaOpt0 = QStringLiteral("Pesagem");
    primeiras.legendaOpt1 = QStringLiteral("Viatura");
    primeiras.cabecalhoErro = QStringLiteral("Erro no acesso à tabela de primeiras pesagens");

    return {
        viaturas,
        primeiras,
        listaCodigos(TitulosMenu::Entidades, Esquema::Entidades, QStringLiteral("Cliente ou fornecedor"),
                     QStringLiteral("Entidade"), QStringLiteral("clientes ou fornecedores")),
        listaCodigos(TitulosMenu::Transportadores, Esquema::Transportadores, QStringLiteral("Transportador"),
                     QStringLiteral("Transportador"), QStringLiteral("transportadores")),
        listaCodigos(TitulosMenu::Produtos, Esquema::Produtos, QStringLiteral("Produto"), QStringLiteral("Produto"),
                     QStringLiteral("produtos")),
        listaCodigos(TitulosMenu::LocaisCarga, Esquema::LocaisCarga, QStringLiteral("Local de carga"),
                     QStringLiteral("Local de carga"), QStringLiteral("locais de carga")),
        // The option reads "Local descarga", without "de", unlike its column.
        listaCodigos(TitulosMenu::LocaisDescarga, Esquema::LocaisDescarga, QStringLiteral("Local de descarga"),
                     QStringLiteral("Local descarga"), QStringLiteral("locais de descarga")),
    };
}

// A database Null: a value with a type but no content.
bool eNulo(const QVariant& v)
{
    return v.isValid() && v.isNull();
}

// A stored date ("yyyy-MM-dd HH:mm:ss") as the shared date text. Read field by
// field and kept off the local time zone: a large list stays fast, and an hour
// that the clock change skips is shown as stored.
std::optional<QDateTime> dataGuardada(const QString& texto)
{
    const QStringView t(texto);
    if (t.size() == 19 && t[4] == u'-' && t[7] == u'-' && t[10] == u' ' && t[13] == u':' && t[16] == u':') {
        const QDate d(t.mid(0, 4).toInt(), t.mid(5, 2).toInt(), t.mid(8, 2).toInt());
        const QTime h(t.mid(11, 2).toInt(), t.mid(14, 2).toInt(), t.mid(17, 2).toInt());
        if (d.isValid() && h.isValid())
            return QDateTime(d, h, Qt::UTC);
    }
    return std::nullopt;
}

QString textoDeDataGuardada(const QVariant& valor, const Relogio& relogio)
{
    if (const auto d = dataGuardada(valor.toString()))
        return Conversoes::textoDeData(*d);
    return Conversoes::textoDeData(ModGlobal::VarData(valor, relogio));
}

QString textoDe(const QVariant& valor, Conversao conversao, const QLocale& local, const Relogio& relogio)
{
    switch (conversao) {
    case Conversao::Texto: return ModGlobal::VarTexto(valor);
    case Conversao::Peso:
        return Conversoes::agruparMilhares(ModGlobal::VarLong(valor), 1, local.groupSeparator().front())
               + QStringLiteral(" kg");
    case Conversao::Numero: return QString::number(ModGlobal::VarLong(valor));
    case Conversao::Data:
        // No date is no date: made-up "now" would pass for a fresh tare.
        if (eNulo(valor))
            return QString();
        return textoDeDataGuardada(valor, relogio);
    }
    return QString();
}

}  // namespace

const DefinicaoLista* definicao(const QString& titulo)
{
    static const QList<DefinicaoLista> listas = construirListas();
    for (const DefinicaoLista& d : listas) {
        if (d.titulo == titulo)
            return &d;
    }
    return nullptr;
}

QString texto(const DefinicaoLista& lista, const LinhaLista& linha, int coluna, const Relogio& relogio)
{
    if (coluna < 0 || coluna >= lista.colunas.size())
        return {};
    const QLocale local;
    return textoDe(linha.valor(coluna + 1), lista.colunas.at(coluna).conversao, local, relogio);
}

QString etiqueta(const LinhaLista& linha)
{
    return ModGlobal::VarTexto(linha.valor(0));
}

void lerLinhas(const QSqlDatabase& db, const DefinicaoLista& lista, const Relogio& relogio, QList<LinhaLista>& linhas)
{
    // The tag first, then every column's field; names come from the list
    // description only, and the rows come in the order they were stored.
    QStringList campos{Esquema::citar(lista.campoEtiqueta)};
    for (const ColunaLista& c : lista.colunas)
        campos << Esquema::citar(c.campo);
    QString sql = QStringLiteral("SELECT ") + campos.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
                  + Esquema::citar(lista.tabela);
    if (lista.soPrimeirasPesagens)
        sql += QStringLiteral(" WHERE ") + Esquema::citar(QStringLiteral("Tipo de pesagem")) + QStringLiteral(" = 'P'");
    sql += QStringLiteral(" ORDER BY rowid");

    QSqlQuery q = Consulta::executar(db, sql);
    const int n = int(campos.size());
    const QLocale local;
    while (q.next()) {
        LinhaLista linha;
        linha.acrescentar(q.value(0));
        for (int i = 1; i < n; ++i) {
            const QVariant v = q.value(i);
            const Conversao conversao = lista.colunas.at(i - 1).conversao;
            if (conversao == Conversao::Peso || conversao == Conversao::Numero)
                ModGlobal::VarLong(v);  // throws for a value that cannot be shown
            else if (conversao == Conversao::Data && !eNulo(v) && !dataGuardada(v.toString()))
                textoDe(v, conversao, local, relogio);
            linha.acrescentar(v);
        }
        linhas << std::move(linha);
    }
    Consulta::verificarFim(q);
}

}  // namespace ConteudoListas

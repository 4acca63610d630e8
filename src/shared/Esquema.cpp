#include "shared/Esquema.h"

#include <QSet>

#include <algorithm>

namespace {

Campo texto(const QString& nome, int tamanho, const QString& legenda = {})
{
    return Campo{nome, TipoCampo::Texto, tamanho, legenda};
}
Campo numero(const QString& nome, const QString& legenda = {})
{
    return Campo{nome, TipoCampo::Numero, 0, legenda};
}
Campo data(const QString& nome, const QString& legenda = {})
{
    return Campo{nome, TipoCampo::Data, 0, legenda};
}
Campo chaveTexto(const QString& nome, int tamanho)
{
    Campo c = texto(nome, tamanho);
    c.chave = true;
    return c;
}
Campo contador(const QString& nome, const QString& legenda = {})
{
    Campo c{nome, TipoCampo::Contador, 0, legenda};
    c.chave = true;
    return c;
}
Campo digitos(const QString& nome, int tamanho, const QString& legenda)
{
    return Campo{nome, TipoCampo::Digitos, tamanho, legenda};
}
Campo contadorDocumentos(const QString& nome)
{
    Campo c = numero(nome);
    c.obrigatorio = true;
    return c;
}

// The ten party fields, in the order that weighings and vehicles share.
QList<Campo> camposPartes()
{
    return {
        texto(QStringLiteral("Código da entidade"), 8, QStringLiteral("Cód.")),
        texto(QStringLiteral("Entidade"), 40, QStringLiteral("Entidade")),
        texto(QStringLiteral("Código do transportador"), 8, QStringLiteral("Cód.")),
        texto(QStringLiteral("Transportador"), 40, QStringLiteral("Transportador")),
        texto(QStringLiteral("Código do produto"), 8, QStringLiteral("Cód.")),
        texto(QStringLiteral("Produto"), 40, QStringLiteral("Produto")),
        texto(QStringLiteral("Código do local de carga"), 8, QStringLiteral("Cód.")),
        texto(QStringLiteral("Local de carga"), 40, QStringLiteral("Local de carga")),
        texto(QStringLiteral("Código do local de descarga"), 8, QStringLiteral("Cód.")),
        texto(QStringLiteral("Local de descarga"), 40, QStringLiteral("Local de descarga")),
    };
}

QList<Tabela> construirTabelas()
{
    Tabela pesagens{Esquema::Pesagens,
                    {
                        contador(QStringLiteral("Pesagem"), QStringLiteral("Pesagem")),
                        texto(QStringLiteral("Tipo de pesagem"), 1, QStringLiteral("Tipo")),
                        numero(QStringLiteral("Número de pesagem"), QStringLiteral("Número")),
                        texto(QStringLiteral("Código da viatura"), 8, QStringLiteral("Cód.")),
                        texto(QStringLiteral("Viatura"), 16, QStringLiteral("Viatura")),
                    }};
    pesagens.campos += camposPartes();
    pesagens.campos += {
        Campo{QStringLiteral("Observações"), TipoCampo::Memo, 0, QStringLiteral("Observações")},
        numero(QStringLiteral("Peso á entrada"), QStringLiteral("1a.Pesag.")),
        texto(QStringLiteral("Báscula de entrada"), 2, QStringLiteral("Básc")),
        data(QStringLiteral("Data de entrada"), QStringLiteral("Data")),
        texto(QStringLiteral("Hora de entrada"), 5, QStringLiteral("Hora")),
        numero(QStringLiteral("Peso á saída"), QStringLiteral("2a.Pesag.")),
        texto(QStringLiteral("Báscula de saída"), 2, QStringLiteral("Básc")),
        data(QStringLiteral("Data de saída"), QStringLiteral("Data")),
        texto(QStringLiteral("Hora de saída"), 5, QStringLiteral("Hora")),
        numero(QStringLiteral("Peso líquido"), QStringLiteral("Líquido")),
        texto(QStringLiteral("Operador"), 10, QStringLiteral("Operador")),
        numero(QStringLiteral("Empresa"), QStringLiteral("Empresa")),
    };

    Campo empresa = numero(QStringLiteral("Empresa"));
    empresa.chave = true;
    Tabela empresas{Esquema::Empresas,
                    {
                        empresa,
                        texto(QStringLiteral("Linha 1"), 50),
                        texto(QStringLiteral("Linha 2"), 50),
                        texto(QStringLiteral("Linha 3"), 50),
                        texto(QStringLiteral("Código postal"), 8),
                        texto(QStringLiteral("Localidade"), 40),
                        texto(QStringLiteral("Contribuinte"), 9),
                        texto(QStringLiteral("Telefone"), 16),
                        texto(QStringLiteral("Fax"), 16),
                        texto(QStringLiteral("Linha de fundo"), 50),
                        contadorDocumentos(QStringLiteral("Entrada")),
                        contadorDocumentos(QStringLiteral("Guia")),
                        contadorDocumentos(QStringLiteral("Talão")),
                    }};

    Tabela viaturas{Esquema::Viaturas,
                    {
                        chaveTexto(QStringLiteral("Código da viatura"), 8),
                        texto(QStringLiteral("Viatura"), 16),
                    }};
    viaturas.campos += camposPartes();
    viaturas.campos += {
        numero(QStringLiteral("Peso de tara")), numero(QStringLiteral("Peso bruto")),  data(QStringLiteral("Data")),
        texto(QStringLiteral("Hora"), 5),       texto(QStringLiteral("Operador"), 10),
    };

    Tabela entidades{Esquema::Entidades,
                     {
                         chaveTexto(QStringLiteral("Código da entidade"), 8),
                         texto(QStringLiteral("Entidade"), 40),
                         texto(QStringLiteral("Morada"), 40, QStringLiteral("Morada")),
                         digitos(QStringLiteral("Código postal"), 4, QStringLiteral("C.P.")),
                         digitos(QStringLiteral("Zona postal"), 3, QStringLiteral("Z.P.")),
                         texto(QStringLiteral("Localidade"), 30, QStringLiteral("Localidade")),
                         digitos(QStringLiteral("Contribuinte"), 9, QStringLiteral("Contrib.")),
                     }};

    auto tabelaCodigos = [](const QString& nome, const QString& codigo, const QString& designacao) {
        return Tabela{nome, {chaveTexto(codigo, 8), texto(designacao, 40)}};
    };

    Tabela operadores{Esquema::Operadores,
                      {
                          contador(QStringLiteral("Número")),
                          texto(QStringLiteral("Operador"), 10),
                          texto(QStringLiteral("Código de acesso"), 8),
                          Campo{QStringLiteral("Nivel"), TipoCampo::Byte, 0, {}},
                          data(QStringLiteral("Data")),
                      }};

    return {
        pesagens,
        empresas,
        viaturas,
        entidades,
        tabelaCodigos(Esquema::Transportadores, QStringLiteral("Código do transportador"),
                      QStringLiteral("Transportador")),
        tabelaCodigos(Esquema::Produtos, QStringLiteral("Código do produto"), QStringLiteral("Produto")),
        tabelaCodigos(Esquema::LocaisCarga, QStringLiteral("Código do local de carga"),
                      QStringLiteral("Local de carga")),
        tabelaCodigos(Esquema::LocaisDescarga, QStringLiteral("Código do local de descarga"),
                      QStringLiteral("Local de descarga")),
        operadores,
    };
}

QString definicaoColuna(const Campo& c)
{
    const QString nome = Esquema::citar(c.nome);
    switch (c.tipo) {
    case TipoCampo::Contador: return nome + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
    case TipoCampo::Numero:
        if (c.chave)
            return nome + QStringLiteral(" INTEGER NOT NULL PRIMARY KEY");
        if (c.obrigatorio)
            return nome + QStringLiteral(" INTEGER NOT NULL DEFAULT 0");
        return nome + QStringLiteral(" INTEGER");
    case TipoCampo::Byte: return nome + QStringLiteral(" INTEGER CHECK (%1 BETWEEN 0 AND 255)").arg(nome);
    case TipoCampo::Memo: return nome + QStringLiteral(" TEXT COLLATE NOCASE");
    case TipoCampo::Data:
        // Only our formatter writes dates; anything else in a date column is refused.
        return nome
               + QStringLiteral(" TEXT CHECK (%1 IS NULL OR %1 GLOB "
                                "'[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]')")
                     .arg(nome);
    case TipoCampo::Texto:
    case TipoCampo::Digitos: {
        QString d = nome + QStringLiteral(" TEXT");
        if (c.chave)
            d += QStringLiteral(" NOT NULL PRIMARY KEY");
        d += QStringLiteral(" COLLATE NOCASE CHECK (length(%1) <= %2").arg(nome).arg(c.tamanho);
        if (c.tipo == TipoCampo::Digitos)
            d += QStringLiteral(" AND %1 NOT GLOB '*[^0-9]*'").arg(nome);
        return d + u')';
    }
    }
    return nome;
}

}  // namespace

const Campo* Tabela::campo(const QString& nomeCampo) const
{
    for (const Campo& c : campos) {
        if (QString::compare(c.nome, nomeCampo, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

const Campo& Tabela::chave() const
{
    for (const Campo& c : campos) {
        if (c.chave)
            return c;
    }
    return campos.front();
}

QStringList Tabela::nomesCampos() const
{
    QStringList nomes;
    for (const Campo& c : campos)
        nomes << c.nome;
    return nomes;
}

namespace Esquema {

const QList<Tabela>& tabelas()
{
    static const QList<Tabela> todas = construirTabelas();
    return todas;
}

const QList<Indice>& indices()
{
    static const QList<Indice> todos = {
        {QStringLiteral("PesagensPorTipoCodigo"),
         Pesagens,
         {QStringLiteral("Tipo de pesagem"), QStringLiteral("Código da viatura")}},
        {QStringLiteral("PesagensPorTipoViatura"),
         Pesagens,
         {QStringLiteral("Tipo de pesagem"), QStringLiteral("Viatura")}},
        // Not unique: the counters may be set back by hand.
        {QStringLiteral("PesagensPorDocumento"),
         Pesagens,
         {QStringLiteral("Tipo de pesagem"), QStringLiteral("Número de pesagem")}},
        {QStringLiteral("PesagensPorDataSaida"), Pesagens, {QStringLiteral("Data de saída")}},
        // The recent-weighings grid: one kind's rows in their order, from a row number on.
        {QStringLiteral("PesagensPorTipo"), Pesagens, {QStringLiteral("Tipo de pesagem")}},
        {QStringLiteral("ViaturasPorMatricula"), Viaturas, {QStringLiteral("Viatura")}},
        {QStringLiteral("OperadoresPorNome"), Operadores, {QStringLiteral("Operador")}},
    };
    // The recent-weighings grid sorts any kind, or all of them, by any field:
    // each field gets an index of its own and one after the kind, so a page of
    // a sorted million rows is found by seeks.
    static const QList<Indice> comGrelha = [] {
        QList<Indice> v = todos;
        const Tabela& p = *tabela(Pesagens);
        const QString tipo = QStringLiteral("Tipo de pesagem");
        for (const Campo& c : p.campos) {
            for (const QStringList& campos : {QStringList{c.nome}, QStringList{tipo, c.nome}}) {
                const bool temIndice = std::any_of(todos.begin(), todos.end(), [&](const Indice& i) {
                    return i.tabela == Pesagens && i.campos == campos;
                });
                if (!c.chave && c.nome != tipo && !temIndice)
                    v.append({QStringLiteral("Pesagens por ") + campos.join(QStringLiteral(" e ")), Pesagens, campos});
            }
        }
        return v;
    }();
    return comGrelha;
}

const Indice* indiceOrdemGrelha(const QString& campo, bool porTipo)
{
    const QString tipo = QStringLiteral("Tipo de pesagem");
    if (porTipo && campo.compare(tipo, Qt::CaseInsensitive) == 0)
        porTipo = false;  // the kind's own index orders one kind's rows by kind
    for (const Indice& i : indices()) {
        if (i.tabela == Pesagens && i.campos.size() == (porTipo ? 2 : 1)
            && i.campos.last().compare(campo, Qt::CaseInsensitive) == 0 && (!porTipo || i.campos.first() == tipo))
            return &i;
    }
    return nullptr;  // the key: the table's own order
}

const Tabela* tabela(const QString& nome)
{
    for (const Tabela& t : tabelas()) {
        if (QString::compare(t.nome, nome, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

const QStringList& camposViaturaEPartes()
{
    static const QStringList nomes = tabela(Viaturas)->nomesCampos().mid(0, 12);
    return nomes;
}

bool eCampoData(const QString& nomeCampo)
{
    // Asked for every field a list shows: the names are gathered once.
    static const QSet<QString> datas = [] {
        QSet<QString> nomes;
        for (const Tabela& t : tabelas()) {
            for (const Campo& c : t.campos) {
                if (c.tipo == TipoCampo::Data)
                    nomes.insert(c.nome.toCaseFolded());
            }
        }
        return nomes;
    }();
    return datas.contains(nomeCampo.toCaseFolded());
}

QString citar(const QString& identificador)
{
    QString s = identificador;
    s.replace(u'"', QStringLiteral("\"\""));
    return u'"' + s + u'"';
}

QStringList instrucoesCriacao()
{
    QStringList sql;
    for (const Tabela& t : tabelas()) {
        QStringList colunas;
        for (const Campo& c : t.campos)
            colunas << definicaoColuna(c);
        sql << QStringLiteral("CREATE TABLE %1 (\n  %2\n) STRICT")
                   .arg(citar(t.nome), colunas.join(QStringLiteral(",\n  ")));
    }
    for (const Indice& i : indices()) {
        QStringList colunas;
        for (const QString& c : i.campos)
            colunas << citar(c);
        sql << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                   .arg(citar(i.nome), citar(i.tabela), colunas.join(u", "));
    }
    return sql;
}

}  // namespace Esquema

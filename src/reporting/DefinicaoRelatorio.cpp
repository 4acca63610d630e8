#include "reporting/DefinicaoRelatorio.h"

#include "shared/Esquema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <kainjow/mustache.hpp>

namespace {

struct Recusa
{
    DefinicaoRelatorio::Falha falha;
    QString motivo;
};

[[noreturn]] void recusar(const QString& motivo, DefinicaoRelatorio::Falha falha = DefinicaoRelatorio::Falha::Invalida)
{
    throw Recusa{falha, motivo};
}

// The file's text: strict UTF-8 without NUL, so a foreign binary file is refused.
QString lerTexto(const QString& caminho, bool obrigatorio)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        recusar(QStringLiteral("não se consegue ler ") + caminho,
                obrigatorio ? DefinicaoRelatorio::Falha::EmFalta : DefinicaoRelatorio::Falha::Invalida);
    const QByteArray bytes = f.readAll();
    if (bytes.contains('\0'))
        recusar(QStringLiteral("%1 não é um ficheiro de texto").arg(QFileInfo(caminho).fileName()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString texto = utf8(bytes);
    if (utf8.hasError())
        recusar(QStringLiteral("%1 não está em UTF-8").arg(QFileInfo(caminho).fileName()));
    return texto.normalized(QString::NormalizationForm_C);
}

const Campo& campoDe(const Tabela& tabela, const QString& nome)
{
    const Campo* c = tabela.campo(nome);
    if (!c)
        recusar(QStringLiteral("o campo %1 não existe em %2").arg(nome, tabela.nome));
    return *c;
}

QStringList lista(const QString& valor)
{
    QStringList partes;
    for (const QString& p : valor.split(u',', Qt::SkipEmptyParts)) {
        if (!p.trimmed().isEmpty())
            partes << p.trimmed();
    }
    return partes;
}

bool simNao(const QString& chave, const QString& valor)
{
    if (valor == u"sim")
        return true;
    if (valor == u"nao" || valor == u"não")
        return false;
    recusar(QStringLiteral("%1 deve ser sim ou nao").arg(chave));
}

// Every tag of a template names something the report offers (`conhecidos`),
// or a partial that exists.
void verificarEtiquetas(const QString& modelo, const QString& origem, const QSet<QString>& conhecidos,
                        const QMap<QString, QString>& parciais, QSet<QString>& usados, QSet<QString>& visitadas)
{
    static const QRegularExpression etiqueta(QStringLiteral(R"(\{\{(\{?)([#^/>!&]?)\s*([^}]*?)\s*\}?\}\})"));
    for (auto it = etiqueta.globalMatch(modelo); it.hasNext();) {
        const auto m = it.next();
        const QString tipo = m.captured(2);
        const QString nome = m.captured(3);
        if (tipo == u"!")
            continue;
        // Every value is data and goes escaped.
        if (!m.captured(1).isEmpty() || tipo == u"&")
            recusar(QStringLiteral("%1: {{%2}} sem escape não é aceite").arg(origem, nome));
        if (tipo == u">") {
            if (!parciais.contains(nome))
                recusar(QStringLiteral("%1: a parte %2 não existe").arg(origem, nome));
            // Each partial used is checked once, against this report's names.
            if (!visitadas.contains(nome)) {
                visitadas << nome;
                verificarEtiquetas(parciais.value(nome), nome + QStringLiteral(".mustache"), conhecidos, parciais,
                                   usados, visitadas);
            }
            continue;
        }
        if (nome.startsWith(u'='))
            recusar(QStringLiteral("%1: mudança de delimitadores não aceite").arg(origem));
        if (!conhecidos.contains(nome))
            recusar(QStringLiteral("%1: {{%2}} não é um valor deste relatório").arg(origem, nome));
        usados << nome;
    }
    const kainjow::mustache::mustache m(modelo.toStdString());
    if (!m.is_valid())
        recusar(QStringLiteral("%1: %2").arg(origem, QString::fromStdString(m.error_message())));
}

// A short text of a listing (a heading, a total): only `nomes`, no partial.
void verificarTexto(const QString& texto, const QString& origem, const QStringList& nomes)
{
    QSet<QString> usados, visitadas;
    verificarEtiquetas(texto, origem, QSet<QString>(nomes.begin(), nomes.end()), {}, usados, visitadas);
}

// The values a totals-only listing shows of each group.
const QStringList& valoresGrupo()
{
    static const QStringList nomes = {QStringLiteral("valor"), QStringLiteral("n"), QStringLiteral("liquido")};
    return nomes;
}

// partials/<nome>.colunas: "field | heading | width | alignment" a line.
QList<ColunaListagem> lerColunas(const QDir& partes, const QString& nome, const Tabela& tabela, bool deGrupos)
{
    const QString origem = nome + QStringLiteral(".colunas");
    QList<ColunaListagem> colunas;
    double total = 0;
    for (const QString& linha : lerTexto(partes.filePath(origem), false).split(u'\n')) {
        const QString limpa = linha.trimmed();
        if (limpa.isEmpty() || limpa.startsWith(u'#'))
            continue;
        const QStringList partes = limpa.split(u'|');
        if (partes.size() != 4)
            recusar(QStringLiteral("%1: uma coluna tem campo | título | largura | alinhamento: %2").arg(origem, limpa));
        ColunaListagem c;
        c.campo = partes[0].trimmed();
        if (deGrupos) {
            if (!valoresGrupo().contains(c.campo))
                recusar(QStringLiteral("%1: %2 não é valor de um grupo").arg(origem, c.campo));
        } else {
            c.campo = campoDe(tabela, c.campo).nome;
        }
        c.titulo = partes[1].trimmed();
        verificarTexto(c.titulo, origem, {QStringLiteral("titulo"), QStringLiteral("subtitulo")});
        bool numero = false;
        c.largura = partes[2].trimmed().toDouble(&numero);
        if (!numero || c.largura <= 0)
            recusar(QStringLiteral("%1: largura inválida: %2").arg(origem, partes[2].trimmed()));
        total += c.largura;
        const QString alinhamento = partes[3].trimmed();
        if (alinhamento == u"esquerda")
            c.alinhamento = Qt::AlignLeft;
        else if (alinhamento == u"centro")
            c.alinhamento = Qt::AlignHCenter;
        else if (alinhamento == u"direita")
            c.alinhamento = Qt::AlignRight;
        else
            recusar(QStringLiteral("%1: alinhamento deve ser esquerda, centro ou direita").arg(origem));
        colunas << c;
    }
    if (colunas.isEmpty())
        recusar(QStringLiteral("%1 não tem colunas").arg(origem));
    if (total > 100.5)
        recusar(QStringLiteral("%1: as larguras somam mais de 100").arg(origem));
    return colunas;
}

DefinicaoRelatorio ler(const QString& caminho)
{
    const QString texto = lerTexto(caminho, true);
    const qsizetype separador =
        texto.indexOf(QRegularExpression(QStringLiteral("^---[ \\t]*\\r?$"), QRegularExpression::MultilineOption));
    if (separador < 0)
        recusar(QStringLiteral("falta a linha --- que separa o cabeçalho do modelo"));

    DefinicaoRelatorio d;
    d.nome = QFileInfo(caminho).fileName();
    d.modelo = texto.mid(texto.indexOf(u'\n', separador) + 1);
    QString filtro;
    QString ordem;
    QString colunas;
    QSet<QString> vistas;
    for (QString linha : texto.left(separador).split(u'\n')) {
        linha = linha.trimmed();
        if (linha.isEmpty() || linha.startsWith(u'#'))
            continue;
        const qsizetype igual = linha.indexOf(u'=');
        if (igual < 0)
            recusar(QStringLiteral("linha sem '=' no cabeçalho: ") + linha);
        const QString chave = linha.left(igual).trimmed();
        const QString valor = linha.mid(igual + 1).trimmed();
        if (vistas.contains(chave))
            recusar(QStringLiteral("chave repetida: ") + chave);
        vistas << chave;
        if (chave == u"titulo")
            d.titulo = valor;
        else if (chave == u"subtitulo")
            d.subtitulo = valor;
        else if (chave == u"tabela")
            d.tabela = valor;
        else if (chave == u"filtro")
            filtro = valor;
        else if (chave == u"ordem")
            ordem = valor;
        else if (chave == u"orientacao") {
            if (valor != u"retrato" && valor != u"paisagem")
                recusar(QStringLiteral("orientacao deve ser retrato ou paisagem"));
            d.paisagem = valor == u"paisagem";
        } else if (chave == u"pagina_por_registo")
            d.paginaPorRegisto = simNao(chave, valor);
        else if (chave == u"numerar_paginas")
            d.numerarPaginas = simNao(chave, valor);
        else if (chave == u"pesos")
            d.pesos = lista(valor);
        else if (chave == u"grupo")
            d.grupo = valor;
        else if (chave == u"detalhe")
            d.detalhe = simNao(chave, valor);
        else if (chave == u"grafico")
            d.grafico = simNao(chave, valor);
        else if (chave == u"colunas")
            colunas = valor;
        else if (chave == u"total_grupo")
            d.totalGrupo = valor;
        else if (chave == u"total_geral")
            d.totalGeral = valor;
        else if (chave == u"sem_registos")
            d.semRegistos = valor;
        else
            recusar(QStringLiteral("chave desconhecida: ") + chave);
    }

    const Tabela* tabela = Esquema::tabela(d.tabela);
    if (!tabela)
        recusar(QStringLiteral("tabela desconhecida: ") + d.tabela);
    d.tabela = tabela->nome;
    QString motivo;
    const auto clausula = FormulaSeleccao::traduzir(filtro, d.tabela, &motivo);
    if (!clausula)
        recusar(QStringLiteral("filtro: ") + motivo);
    d.filtro = *clausula;
    for (const QString& parte : lista(ordem)) {
        const bool desc = parte.endsWith(QStringLiteral(" desc"), Qt::CaseInsensitive);
        const QString nome = desc ? parte.left(parte.size() - 5).trimmed() : parte;
        d.ordem.append({campoDe(*tabela, nome).nome, desc});
    }
    for (QString& nome : d.pesos) {
        const Campo& c = campoDe(*tabela, nome);
        if (!c.eInteiro())
            recusar(QStringLiteral("%1 não é um campo numérico").arg(nome));
        nome = c.nome;
    }

    // The partials beside the definition.
    const QDir pasta(QFileInfo(caminho).dir().filePath(QStringLiteral("partials")));
    for (const QFileInfo& f : pasta.entryInfoList({QStringLiteral("*.mustache")}, QDir::Files))
        d.parciais.insert(f.completeBaseName(), lerTexto(f.filePath(), false));

    if (!d.grupo.isEmpty()) {
        const Campo& c = campoDe(*tabela, d.grupo);
        if (!c.eTexto())
            recusar(QStringLiteral("%1 não é um campo de texto").arg(d.grupo));
        d.grupo = c.nome;
        campoDe(*tabela, QStringLiteral("Peso líquido"));
    } else if (!d.detalhe || d.grafico || !d.totalGrupo.isEmpty()) {
        recusar(QStringLiteral("detalhe, grafico e total_grupo pedem um grupo"));
    }
    if (!d.totalGeral.isEmpty())
        campoDe(*tabela, QStringLiteral("Peso líquido"));

    QSet<QString> conhecidos;
    for (const QString& n : DefinicaoRelatorio::nomesGerais())
        conhecidos << n;
    for (const auto& [n, campo] : DefinicaoRelatorio::camposEmpresa())
        conhecidos << n << QStringLiteral("empresa.") + n;
    if (colunas.isEmpty()) {
        if (!d.grupo.isEmpty() || !d.totalGeral.isEmpty() || !d.semRegistos.isEmpty() || d.numerarPaginas)
            recusar(QStringLiteral("grupo, total_geral, sem_registos e numerar_paginas são de uma listagem (colunas)"));
        // A document lays the rows out itself.
        conhecidos << QStringLiteral("registos") << QStringLiteral("primeiro");
        for (const Campo& c : tabela->campos)
            conhecidos << c.nome;
    } else {
        if (d.paginaPorRegisto)
            recusar(QStringLiteral("uma listagem não tem uma página por registo"));
        d.colunas = lerColunas(pasta, colunas, *tabela, !d.grupo.isEmpty() && !d.detalhe);
        verificarTexto(d.totalGrupo, QStringLiteral("total_grupo"), valoresGrupo());
        verificarTexto(d.totalGeral, QStringLiteral("total_geral"),
                       {QStringLiteral("total_n"), QStringLiteral("total_liquido")});
        verificarTexto(d.semRegistos, QStringLiteral("sem_registos"), {QStringLiteral("titulo")});
    }

    // Only the partials the template uses are checked: the others may belong
    // to reports of other tables.
    QSet<QString> visitadas;
    verificarEtiquetas(d.modelo, d.nome, conhecidos, d.parciais, d.etiquetas, visitadas);
    return d;
}

}  // namespace

const QList<std::pair<QString, QString>>& DefinicaoRelatorio::camposEmpresa()
{
    static const QList<std::pair<QString, QString>> campos = {
        {QStringLiteral("linha1"), QStringLiteral("Linha 1")},
        {QStringLiteral("linha2"), QStringLiteral("Linha 2")},
        {QStringLiteral("linha3"), QStringLiteral("Linha 3")},
        {QStringLiteral("codigo_postal"), QStringLiteral("Código postal")},
        {QStringLiteral("localidade"), QStringLiteral("Localidade")},
        {QStringLiteral("contribuinte"), QStringLiteral("Contribuinte")},
        {QStringLiteral("telefone"), QStringLiteral("Telefone")},
        {QStringLiteral("fax"), QStringLiteral("Fax")},
        {QStringLiteral("linha_de_fundo"), QStringLiteral("Linha de fundo")}};
    return campos;
}

const QStringList& DefinicaoRelatorio::nomesGerais()
{
    // selecao: the selection's lines; vazio: no row. A document adds
    // registos (the rows) and primeiro (true on the first row).
    static const QStringList nomes = {QStringLiteral("titulo"),      QStringLiteral("subtitulo"),
                                      QStringLiteral("impresso_em"), QStringLiteral("selecao"),
                                      QStringLiteral("vazio"),       QStringLiteral(".")};
    return nomes;
}

std::optional<DefinicaoRelatorio> DefinicaoRelatorio::carregar(const QString& caminho, Falha* falha, QString* motivo)
{
    try {
        DefinicaoRelatorio d = ler(caminho);
        if (falha)
            *falha = Falha::Nenhuma;
        return d;
    } catch (const Recusa& r) {
        if (falha)
            *falha = r.falha;
        if (motivo)
            *motivo = r.motivo;
        return std::nullopt;
    }
}

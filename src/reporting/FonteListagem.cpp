#include "reporting/FonteListagem.h"

#include "data/Consulta.h"
#include "data/LeituraEmFatias.h"
#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "platform/LigacaoBd.h"
#include "shared/Esquema.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QSqlQuery>

#include <algorithm>
#include <map>

namespace {

const QString Liquido = QStringLiteral("Peso líquido");

// The temporary table's column of the definition's column i.
QString colunaTexto(int i)
{
    return QStringLiteral("c%1").arg(i);
}

void verificar(const std::atomic<bool>& cancelado)
{
    if (cancelado)
        throw Erro{0, QStringLiteral("cancelado")};
}

// Runs `passo` on the listing's connection, which writes nothing but its
// temporary tables: a failure of the temporary storage is told as such.
// `soTemporaria` when it reads nothing but them too.
template <typename F>
auto naTemporaria(bool soTemporaria, F&& passo)
{
    try {
        return passo();
    } catch (const Erro& e) {
        throw Erros::naArmazenagemTemporaria(e, soTemporaria);
    }
}

// How a field is kept in the copy: compared and ordered as in the table.
QString colunaCopia(const Campo& campo)
{
    const QString tipo = campo.eTexto()     ? QStringLiteral(" TEXT COLLATE NOCASE")
                         : campo.eInteiro() ? QStringLiteral(" INTEGER")
                                            : QStringLiteral(" TEXT");
    return Esquema::citar(campo.nome) + tipo;
}

}  // namespace

FonteListagem::FonteListagem(const DefinicaoRelatorio& definicao, const QString& ficheiroBd) : m_definicao(definicao)
{
    LigacaoBd::Exigencias exigencias;
    exigencias.tabelas = {definicao.tabela, Esquema::Empresas};
    exigencias.idAplicacao = Esquema::IdAplicacao;
    m_ligacao = LigacaoBd::abrir(ficheiroBd, exigencias);
    const Tabela& tabela = *Esquema::tabela(definicao.tabela);
    // A totals-only listing's columns are the groups' values: it reads no row.
    for (const ColunaListagem& c : definicao.colunas) {
        if (const Campo* campo = tabela.campo(c.campo))
            m_campos << campo;
    }
}

FonteListagem::~FonteListagem() = default;

QString FonteListagem::nome(const Grupo& g)
{
    return g.valor.isEmpty() ? QStringLiteral("(sem identificação)") : g.valor;
}

ValoresEmpresa FonteListagem::empresa() const
{
    return lerEmpresa(m_ligacao->db());
}

void FonteListagem::copiar(const FormulaSeleccao::Clausula& seleccao, const std::atomic<bool>& cancelado)
{
    naTemporaria(false, [&] { copiarTudo(seleccao, cancelado); });
}

void FonteListagem::copiarTudo(const FormulaSeleccao::Clausula& seleccao, const std::atomic<bool>& cancelado)
{
    const QSqlDatabase db = m_ligacao->db();
    const LigacaoBd::Interrupcao interrupcao(*m_ligacao, [&cancelado] { return bool(cancelado); });
    const Tabela& tabela = *Esquema::tabela(m_definicao.tabela);
    const ConsultaRelatorio consulta = consultaRelatorio(m_definicao, seleccao);
    QStringList ordem = consulta.ordem;

    copiarSeleccionadas(tabela, consulta, cancelado);
    QString origem = QStringLiteral(" FROM temp.lidas");
    Consulta::executar(db, QStringLiteral("DROP TABLE IF EXISTS temp.linhas"));
    QStringList colunas, campos;
    for (int i = 0; i < m_campos.size(); ++i) {
        colunas << colunaTexto(i);
        campos << Esquema::citar(m_campos[i]->nome);
    }
    const bool comLiquido = tabela.campo(Liquido) != nullptr;
    colunas << QStringLiteral("liquido");
    campos << (comLiquido ? Esquema::citar(Liquido) : QStringLiteral("0"));
    Consulta::executar(db, QStringLiteral("CREATE TEMP TABLE linhas (pos INTEGER PRIMARY KEY, %1)")
                               .arg(colunas.join(QStringLiteral(", "))));

    m_grupos.clear();
    if (!m_definicao.grupo.isEmpty()) {
        copiarGrupos(ordem.join(QStringLiteral(", ")), cancelado);
        if (!m_definicao.detalhe) {
            Consulta::executar(db, QStringLiteral("DROP TABLE temp.lidas"));
            return;
        }
        // The rows group by group: a join on the groups' print order.
        origem += QStringLiteral(" JOIN temp.ordem ON IFNULL(temp.lidas.%1, '') = temp.ordem.chave")
                      .arg(Esquema::citar(m_definicao.grupo));
        ordem.prepend(QStringLiteral("temp.ordem.posicao"));
    }
    Consulta::executar(db, QStringLiteral("INSERT INTO temp.linhas (%1) SELECT %2")
                                   .arg(colunas.join(QStringLiteral(", ")), campos.join(QStringLiteral(", ")))
                               + origem + QStringLiteral(" ORDER BY ") + ordem.join(QStringLiteral(", ")));
    Consulta::executar(db, QStringLiteral("DROP TABLE temp.lidas"));
    verificar(cancelado);
    QSqlQuery q = Consulta::executar(db, QStringLiteral("SELECT COUNT(*), TOTAL(liquido) FROM temp.linhas"));
    q.next();
    m_registos = q.value(0).toLongLong();
    m_liquido = qint64(q.value(1).toDouble());
}

void FonteListagem::copiarSeleccionadas(const Tabela& tabela, const ConsultaRelatorio& consulta,
                                        const std::atomic<bool>& cancelado)
{
    const QSqlDatabase db = m_ligacao->db();
    // The fields the pages, the groups and the order read.
    QList<const Campo*> campos = m_campos;
    QStringList precisos{m_definicao.grupo, Liquido, tabela.chave().nome};
    for (const auto& [nome, descendente] : m_definicao.ordem)
        precisos << nome;
    for (const QString& nome : precisos) {
        const Campo* campo = nome.isEmpty() ? nullptr : tabela.campo(nome);
        if (campo && !campos.contains(campo))
            campos << campo;
    }
    // Each row once, by its key in the table: a row another station changed
    // so that the walk meets it again keeps the copy first read.
    QStringList definicoes{QStringLiteral("lida INTEGER PRIMARY KEY")}, nomes{QStringLiteral("rowid")};
    for (const Campo* campo : campos) {
        definicoes << colunaCopia(*campo);
        nomes << Esquema::citar(campo->nome);
    }
    Consulta::executar(db, QStringLiteral("DROP TABLE IF EXISTS temp.lidas"));
    Consulta::executar(db, QStringLiteral("CREATE TEMP TABLE lidas (%1)").arg(definicoes.join(QStringLiteral(", "))));

    LeituraEmFatias::percorrer(
        db, QStringLiteral("INSERT OR IGNORE INTO temp.lidas SELECT ") + nomes.join(QStringLiteral(", ")), tabela.nome,
        consulta.condicao, consulta.valores, consulta.intervalos, [&](QSqlQuery&) {
            verificar(cancelado);
            return true;
        });
}

void FonteListagem::copiarGrupos(const QString& ordem, const std::atomic<bool>& cancelado)
{
    const QSqlDatabase db = m_ligacao->db();
    // Groups meet as the database's DISTINCT and NOCASE see them.
    std::map<QString, qsizetype, Conversoes::MenorSemMaiusculas> indice;
    QList<Grupo> grupos;
    {
        QSqlQuery q = Consulta::executar(
            db,
            QStringLiteral("SELECT IFNULL(%1, ''), %2").arg(Esquema::citar(m_definicao.grupo), Esquema::citar(Liquido))
                + QStringLiteral(" FROM temp.lidas ORDER BY ") + ordem);
        for (qint64 lidas = 0; q.next(); ++lidas) {
            if (lidas % 4096 == 0)
                verificar(cancelado);
            const QString valor = q.value(0).toString();
            auto it = indice.find(valor);
            if (it == indice.end()) {
                it = indice.emplace(valor, grupos.size()).first;
                grupos.append({valor, 0, 0});
            }
            Grupo& g = grupos[it->second];
            ++g.n;
            g.liquido += q.value(1).toLongLong();
        }
        Consulta::verificarFim(q);
    }
    // Portuguese order of the names, letter case aside; the nameless group last.
    QCollator colador{QLocale(QLocale::Portuguese, QLocale::Portugal)};
    colador.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<QCollatorSortKey, qsizetype>> chaves;
    chaves.reserve(size_t(grupos.size()));
    for (qsizetype i = 0; i < grupos.size(); ++i)
        chaves.emplace_back(colador.sortKey(grupos[i].valor), i);
    std::stable_sort(chaves.begin(), chaves.end(), [&](const auto& a, const auto& b) {
        const bool va = grupos[a.second].valor.isEmpty(), vb = grupos[b.second].valor.isEmpty();
        if (va != vb)
            return vb;
        return a.first.compare(b.first) < 0;
    });
    m_registos = m_liquido = 0;
    for (const auto& [chave, i] : chaves) {
        m_grupos << grupos[i];
        m_registos += grupos[i].n;
        m_liquido += grupos[i].liquido;
    }
    if (m_definicao.detalhe) {
        Consulta::executar(db, QStringLiteral("DROP TABLE IF EXISTS temp.ordem"));
        Consulta::executar(db, QStringLiteral("CREATE TEMP TABLE ordem (chave TEXT PRIMARY KEY COLLATE NOCASE, "
                                              "posicao INTEGER)"));
        // A few hundred groups a statement: thousands of vehicles are many statements otherwise.
        constexpr qsizetype PorInstrucao = 400;
        for (qsizetype inicio = 0; inicio < m_grupos.size(); inicio += PorInstrucao) {
            QStringList linhas;
            QVariantList valores;
            for (qsizetype i = inicio; i < std::min(inicio + PorInstrucao, m_grupos.size()); ++i) {
                linhas << QStringLiteral("(?, ?)");
                valores << m_grupos[i].valor << i;
            }
            Consulta::executar(db, QStringLiteral("INSERT INTO temp.ordem VALUES ") + linhas.join(u','), valores);
        }
    }
}

QList<QStringList> FonteListagem::ler(qint64 de, qint64 ate) const
{
    return naTemporaria(true, [&] { return lerLinhas(de, ate); });
}

QList<QStringList> FonteListagem::lerLinhas(qint64 de, qint64 ate) const
{
    QStringList colunas;
    for (int i = 0; i < m_campos.size(); ++i)
        colunas << colunaTexto(i);
    QList<QStringList> linhas;
    if (colunas.isEmpty() || ate <= de)
        return linhas;
    QSqlQuery q =
        Consulta::executar(m_ligacao->db(),
                           QStringLiteral("SELECT %1 FROM temp.linhas WHERE pos > ? AND pos <= ? ORDER BY pos")
                               .arg(colunas.join(QStringLiteral(", "))),
                           {de, ate});
    while (q.next()) {
        QStringList textos;
        for (int i = 0; i < m_campos.size(); ++i)
            textos << textoCampo(*m_campos[i], q.value(i), m_definicao.pesos.contains(m_campos[i]->nome));
        linhas << textos;
    }
    return linhas;
}

std::vector<quint8> FonteListagem::linhasPorRegisto(const std::function<int(int, const QString&)>& linhas,
                                                    const std::atomic<bool>& cancelado) const
{
    return naTemporaria(true, [&] { return medirLinhas(linhas, cancelado); });
}

std::vector<quint8> FonteListagem::medirLinhas(const std::function<int(int, const QString&)>& linhas,
                                               const std::atomic<bool>& cancelado) const
{
    const QSqlDatabase db = m_ligacao->db();
    const LigacaoBd::Interrupcao interrupcao(*m_ligacao, [&cancelado] { return bool(cancelado); });
    std::vector<quint8> resultado(size_t(m_registos), 1);
    // Numbers and dates are as wide as their widest value: the least and the
    // greatest of each such column, all read in one pass over the rows.
    QList<QVariantList> extremos(m_campos.size());
    {
        QList<int> colunas;
        QStringList sql;
        for (int i = 0; i < m_campos.size(); ++i) {
            if (!m_campos[i]->eTexto()) {
                colunas << i;
                sql << QStringLiteral("MIN(%1), MAX(%1)").arg(colunaTexto(i));
            }
        }
        if (!colunas.isEmpty()) {
            QSqlQuery q = Consulta::executar(
                db, QStringLiteral("SELECT %1 FROM temp.linhas").arg(sql.join(QStringLiteral(", "))));
            if (q.next()) {
                for (int k = 0; k < colunas.size(); ++k)
                    extremos[colunas[k]] = {q.value(2 * k), q.value(2 * k + 1)};
            }
            Consulta::verificarFim(q);
        }
    }
    // For each column, the texts that take more than one line.
    QList<int> quebradas;
    QList<QHash<QString, int>> longas;
    for (int i = 0; i < m_campos.size(); ++i) {
        verificar(cancelado);
        const Campo& campo = *m_campos[i];
        const bool peso = m_definicao.pesos.contains(campo.nome);
        QHash<QString, int> destaColuna;
        int maximo = 1;
        const auto medir = [&](const QVariant& v) {
            const QString texto = textoCampo(campo, v, peso);
            const int n = linhas(i, texto);
            if (n > 1)
                destaColuna.insert(texto, n);
            maximo = std::max(maximo, n);
        };
        if (campo.eTexto()) {
            QSqlQuery q =
                Consulta::executar(db, QStringLiteral("SELECT DISTINCT %1 FROM temp.linhas").arg(colunaTexto(i)));
            while (q.next())
                medir(q.value(0));
            Consulta::verificarFim(q);
        } else {
            for (const QVariant& v : extremos[i])
                medir(v);
        }
        if (maximo == 1)
            continue;
        if (!campo.eTexto()) {
            // Every row gets the room of the widest.
            for (quint8& l : resultado)
                l = quint8(std::max<int>(l, std::min(maximo, 255)));
            continue;
        }
        quebradas << i;
        longas << destaColuna;
    }
    if (quebradas.isEmpty())
        return resultado;
    QStringList colunas;
    for (int i : quebradas)
        colunas << colunaTexto(i);
    QSqlQuery q = Consulta::executar(
        db, QStringLiteral("SELECT %1 FROM temp.linhas ORDER BY pos").arg(colunas.join(QStringLiteral(", "))));
    for (size_t r = 0; r < resultado.size() && q.next(); ++r) {
        if (r % 4096 == 0)
            verificar(cancelado);
        for (int k = 0; k < quebradas.size(); ++k) {
            const int n = longas[k].value(q.value(k).toString(), 1);
            if (n > resultado[r])
                resultado[r] = quint8(std::min(n, 255));
        }
    }
    Consulta::verificarFim(q);
    return resultado;
}

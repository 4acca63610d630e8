#include "reporting/FormulaSeleccao.h"

#include "platform/Conversoes.h"
#include "shared/Esquema.h"

#include <QDate>

namespace FormulaSeleccao {

namespace {

struct Falha
{
    QString motivo;
};

// A recursive-descent reader over the formula's text.
class Leitor
{
public:
    Leitor(QString texto, const Tabela& tabela) : m_t(std::move(texto)), m_tabela(tabela) {}

    Clausula ler()
    {
        Clausula c;
        saltarEspacos();
        if (fim())
            return c;
        QStringList condicoes;
        condicao(c, condicoes);
        for (;;) {
            const qsizetype antes = m_i;
            if (!saltarEspacos() || !palavra(u"and")) {
                m_i = antes;
                break;
            }
            if (!saltarEspacos())
                falhar(QStringLiteral("falta um espaço depois de 'and'"));
            condicao(c, condicoes);
        }
        saltarEspacos();
        if (!fim())
            falhar(QStringLiteral("texto a mais na posição %1").arg(m_i + 1));
        c.condicao = condicoes.join(QStringLiteral(" AND "));
        return c;
    }

private:
    [[noreturn]] void falhar(const QString& motivo) const { throw Falha{motivo}; }
    bool fim() const { return m_i >= m_t.size(); }
    QChar actual() const { return fim() ? QChar() : m_t[m_i]; }

    // True when at least one blank was skipped.
    bool saltarEspacos()
    {
        const qsizetype antes = m_i;
        while (!fim() && (actual() == u' ' || actual() == u'\t'))
            ++m_i;
        return m_i > antes;
    }

    bool palavra(QStringView p)
    {
        if (m_t.mid(m_i, p.size()).compare(p, Qt::CaseInsensitive) != 0)
            return false;
        m_i += p.size();
        return true;
    }

    void esperar(QChar c)
    {
        if (actual() != c)
            falhar(QStringLiteral("esperado '%1' na posição %2").arg(c).arg(m_i + 1));
        ++m_i;
    }

    const Campo& campo()
    {
        esperar(u'{');
        const qsizetype ponto = m_t.indexOf(u'.', m_i);
        const qsizetype fecho = m_t.indexOf(u'}', m_i);
        if (ponto < 0 || fecho < 0 || ponto > fecho)
            falhar(QStringLiteral("campo mal escrito"));
        const QString tabela = m_t.mid(m_i, ponto - m_i);
        const QString nome = m_t.mid(ponto + 1, fecho - ponto - 1);
        m_i = fecho + 1;
        if (QString::compare(tabela, m_tabela.nome, Qt::CaseInsensitive) != 0)
            falhar(QStringLiteral("a tabela %1 não é a do relatório").arg(tabela));
        const Campo* c = m_tabela.campo(nome);
        if (!c)
            falhar(QStringLiteral("o campo %1 não existe").arg(nome));
        return *c;
    }

    qint64 inteiro()
    {
        const qsizetype inicio = m_i;
        if (actual() == u'-')
            ++m_i;
        while (!fim() && actual().isDigit() && actual().unicode() < 128)
            ++m_i;
        bool ok = false;
        const qint64 v = m_t.mid(inicio, m_i - inicio).toLongLong(&ok);
        if (!ok)
            falhar(QStringLiteral("número inválido na posição %1").arg(inicio + 1));
        return v;
    }

    QString texto()
    {
        esperar(u'\'');
        QString s;
        for (;;) {
            if (fim())
                falhar(QStringLiteral("texto sem fim"));
            const QChar c = actual();
            ++m_i;
            if (c == u'\'') {
                if (actual() != u'\'')
                    return s;
                ++m_i;
            }
            s.append(c);
        }
    }

    QDate data()
    {
        if (!palavra(u"Date"))
            falhar(QStringLiteral("esperado Date na posição %1").arg(m_i + 1));
        saltarEspacos();
        esperar(u'(');
        int partes[3] = {};
        for (int k = 0; k < 3; ++k) {
            saltarEspacos();
            const qint64 v = inteiro();
            if (v < 0 || v > 9999)
                falhar(QStringLiteral("data inválida"));
            partes[k] = int(v);
            saltarEspacos();
            esperar(k < 2 ? u',' : u')');
        }
        const int ano = Conversoes::anoCompleto(partes[0]);
        const QDate d(ano, partes[1], partes[2]);
        if (!d.isValid())
            falhar(QStringLiteral("data inválida"));
        return d;
    }

    void condicao(Clausula& c, QStringList& condicoes)
    {
        const Campo& f = campo();
        const QString coluna = Esquema::citar(f.nome);
        const bool espaco = saltarEspacos();
        if (actual() == u'=') {
            ++m_i;
            saltarEspacos();
            if (actual() == u'\'') {
                if (!f.eTexto())
                    falhar(QStringLiteral("%1 não é um campo de texto").arg(f.nome));
                const QString v = texto();
                condicoes << coluna + QStringLiteral(" = ?");
                c.valores << v;
                c.intervalos.append({f.nome, v, {}});
                c.descricao << f.nome + QStringLiteral(": ") + v;
            } else {
                if (!f.eInteiro())
                    falhar(QStringLiteral("%1 não é um campo numérico").arg(f.nome));
                const qint64 v = inteiro();
                condicoes << coluna + QStringLiteral(" = ?");
                c.valores << v;
                c.intervalos.append({f.nome, v, {}});
                c.descricao << f.nome + QStringLiteral(": ") + QString::number(v);
            }
            return;
        }
        if (!espaco || !palavra(u"in") || !saltarEspacos())
            falhar(QStringLiteral("condição mal escrita na posição %1").arg(m_i + 1));
        if (f.tipo != TipoCampo::Data)
            falhar(QStringLiteral("%1 não é um campo de data").arg(f.nome));
        const QDate de = data();
        if (!saltarEspacos() || !palavra(u"to") || !saltarEspacos())
            falhar(QStringLiteral("esperado 'to' na posição %1").arg(m_i + 1));
        const QDate ate = data();
        // Up to the end of the last day: below the next day's first moment
        // (midnight, except where the clock skips it).
        condicoes << QStringLiteral("(%1 >= ? AND %1 < ?)").arg(coluna);
        const QString inicio = Conversoes::dataParaBd(de.startOfDay());
        const QString fim = Conversoes::dataParaBd(ate.addDays(1).startOfDay());
        c.valores << inicio << fim;
        c.intervalos.append({f.nome, inicio, fim});
        c.descricao << f.nome + QStringLiteral(": ") + de.toString(QStringLiteral("dd-MM-yyyy")) + QStringLiteral(" a ")
                           + ate.toString(QStringLiteral("dd-MM-yyyy"));
    }

    QString m_t;
    qsizetype m_i = 0;
    const Tabela& m_tabela;
};

}  // namespace

std::optional<Clausula> traduzir(const QString& formula, const QString& tabela, QString* erro)
{
    const Tabela* t = Esquema::tabela(tabela);
    if (!t) {
        if (erro)
            *erro = QStringLiteral("tabela desconhecida: ") + tabela;
        return std::nullopt;
    }
    try {
        return Leitor(formula.normalized(QString::NormalizationForm_C), *t).ler();
    } catch (const Falha& f) {
        if (erro)
            *erro = f.motivo;
        return std::nullopt;
    }
}

}  // namespace FormulaSeleccao

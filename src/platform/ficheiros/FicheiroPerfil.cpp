#include "platform/ficheiros/FicheiroPerfil.h"

#include "platform/Erro.h"
#include "platform/ficheiros/GravacaoFicheiro.h"
#include "platform/ficheiros/Windows1252.h"

#include <QFile>
#include <QHash>
#include <QStringConverter>
#include <ctime>
#include <sys/stat.h>

namespace {

enum class Codificacao { Utf8, Utf8ComBom, Windows1252 };

struct Texto
{
    QStringList linhas;
    Codificacao codificacao = Codificacao::Utf8;
    bool crlf = false;
    bool terminaEmQuebra = true;
};

// What tells one state of the file from another: which file the path names,
// its size and its change times (the file as read; none when missing).
struct Retrato
{
    bool existe = false;
    dev_t dispositivo = 0;
    ino_t inode = 0;
    off_t tamanho = 0;
    timespec modificado{};
    timespec alterado{};

    bool operator==(const Retrato& o) const
    {
        return existe == o.existe && dispositivo == o.dispositivo && inode == o.inode && tamanho == o.tamanho
               && modificado.tv_sec == o.modificado.tv_sec && modificado.tv_nsec == o.modificado.tv_nsec
               && alterado.tv_sec == o.alterado.tv_sec && alterado.tv_nsec == o.alterado.tv_nsec;
    }
};

Retrato retratoDe(const struct stat& st)
{
    Retrato m;
    m.existe = true;
    m.dispositivo = st.st_dev;
    m.inode = st.st_ino;
    m.tamanho = st.st_size;
    m.modificado = st.st_mtim;
    m.alterado = st.st_ctim;
    return m;
}

Retrato retratar(const QString& caminho)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(caminho).constData(), &st) != 0)
        return {};
    return retratoDe(st);
}

// A file changed a moment before it was read may change again within the
// same tick of the file system's clock without its times moving: such a
// reading is not kept.
bool retratoAntigo(const Retrato& m)
{
    timespec agora{};
    ::clock_gettime(CLOCK_REALTIME, &agora);
    return !m.existe || m.modificado.tv_sec + 2 < agora.tv_sec;
}

Texto decodificar(QByteArray bytes)
{
    Texto c;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        c.codificacao = Codificacao::Utf8ComBom;
        bytes.remove(0, 3);
    }
    QString texto;
    {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        texto = utf8.decode(bytes);
        if (utf8.hasError()) {
            // Not UTF-8: the older station's code page.
            texto = Windows1252::paraTexto(bytes);
            c.codificacao = Codificacao::Windows1252;
        }
    }
    c.crlf = bytes.contains("\r\n");
    c.terminaEmQuebra = texto.isEmpty() || texto.endsWith(u'\n');
    c.linhas = texto.split(u'\n');
    if (c.terminaEmQuebra && !c.linhas.isEmpty())
        c.linhas.removeLast();
    for (QString& linha : c.linhas) {
        if (linha.endsWith(u'\r'))
            linha.chop(1);
    }
    return c;
}

// The section name of a "[name]" line.
std::optional<QString> nomeSeccao(const QString& linha)
{
    const QString t = linha.trimmed();
    if (t.size() >= 2 && t.startsWith(u'[')) {
        const qsizetype fim = t.indexOf(u']');
        if (fim > 0)
            return t.mid(1, fim - 1).trimmed();
    }
    return std::nullopt;
}

QString semAspas(QString valor)
{
    valor = valor.trimmed();
    if (valor.size() >= 2 && (valor.front() == u'"' || valor.front() == u'\'') && valor.back() == valor.front())
        valor = valor.mid(1, valor.size() - 2);
    return valor;
}

struct Posicao
{
    qsizetype seccao = -1;       // the line of the section's header
    qsizetype chave = -1;        // the line of the key
    qsizetype ultimaChave = -1;  // the last key line of the section
};

QString nomeComparavel(const QString& nome)
{
    return nome.toCaseFolded();
}

// Where each section and key is: the first section of a name is the one that
// counts, and within it the first line of a key.
struct Indice
{
    struct Seccao
    {
        qsizetype cabecalho = -1;
        qsizetype ultimaChave = -1;
        QHash<QString, qsizetype> chaves;
    };
    QHash<QString, Seccao> seccoes;

    explicit Indice(const QStringList& linhas)
    {
        Seccao* dentro = nullptr;
        for (qsizetype i = 0; i < linhas.size(); ++i) {
            if (const auto nome = nomeSeccao(linhas[i])) {
                const QString n = nomeComparavel(*nome);
                dentro = seccoes.contains(n) ? nullptr : &seccoes[n];
                if (dentro)
                    dentro->cabecalho = i;
                continue;
            }
            if (!dentro)
                continue;
            const qsizetype igual = linhas[i].indexOf(u'=');
            if (igual < 0)
                continue;
            dentro->ultimaChave = i;
            const QString chave = nomeComparavel(linhas[i].left(igual).trimmed());
            if (!dentro->chaves.contains(chave))
                dentro->chaves.insert(chave, i);
        }
    }

    Posicao procurar(const QString& seccao, const QString& chave) const
    {
        Posicao p;
        const auto s = seccoes.constFind(nomeComparavel(seccao));
        if (s == seccoes.cend())
            return p;
        p.seccao = s->cabecalho;
        p.ultimaChave = s->ultimaChave;
        p.chave = s->chaves.value(nomeComparavel(chave), -1);
        return p;
    }
};

QString cortar(const QString& texto)
{
    if (texto.size() <= FicheiroPerfil::TamanhoMaximo)
        return texto;
    qsizetype n = FicheiroPerfil::TamanhoMaximo;
    if (texto[n - 1].isHighSurrogate())
        --n;  // never split a character in two
    return texto.left(n);
}

// The file as read: its text and where its sections and keys are.
struct Lido
{
    const Texto& texto;
    const Indice& indice;
};

// The file's text `lido` with the keys of `escritas` set, in `c` and its
// `indice`, and the bytes to write (`umByte` when they stay in the older
// station's code page).
QByteArray comporTexto(const Lido& lido, const QList<FicheiroPerfil::Escrita>& escritas, Texto& c,
                       std::optional<Indice>& indice, bool& umByte)
{
    c = lido.texto;
    // Keys new to a section go after its last key, new sections at the end,
    // in the order written; a key written twice keeps the last value.
    QHash<qsizetype, QStringList> depoisDe;
    struct SeccaoNova
    {
        QString nome;
        QStringList linhas;
    };
    QList<SeccaoNova> novas;
    // Section and key folded -> the line not yet in place: its place in
    // depoisDe (a line number >= 0) or in novas (-1 - its index), and its index there.
    QHash<QString, std::pair<qsizetype, qsizetype>> pendentes;
    const auto pendente = [&](const std::pair<qsizetype, qsizetype>& onde) -> QString& {
        QStringList& lista = onde.first >= 0 ? depoisDe[onde.first] : novas[-1 - onde.first].linhas;
        return lista[onde.second];
    };
    for (const FicheiroPerfil::Escrita& e : escritas) {
        QString limpo = e.valor;
        limpo.remove(u'\r').remove(u'\n');
        const QString linhaNova = e.chave + u'=' + limpo;
        const QString id = nomeComparavel(e.seccao) + u'\n' + nomeComparavel(e.chave);
        const Posicao p = lido.indice.procurar(e.seccao, e.chave);
        if (p.chave >= 0) {
            QString& linha = c.linhas[p.chave];
            linha = linha.left(linha.indexOf(u'=') + 1) + limpo;
        } else if (pendentes.contains(id)) {
            QString& linha = pendente(pendentes.value(id));
            linha = linha.left(linha.indexOf(u'=') + 1) + limpo;
        } else if (p.seccao >= 0) {
            const qsizetype depois = p.ultimaChave >= 0 ? p.ultimaChave : p.seccao;
            QStringList& lista = depoisDe[depois];
            lista.append(linhaNova);
            pendentes.insert(id, {depois, lista.size() - 1});
        } else {
            qsizetype n = 0;
            while (n < novas.size() && nomeComparavel(novas[n].nome) != nomeComparavel(e.seccao))
                ++n;
            if (n == novas.size())
                novas.append({e.seccao, {}});
            novas[n].linhas.append(linhaNova);
            pendentes.insert(id, {-1 - n, novas[n].linhas.size() - 1});
        }
    }
    if (!depoisDe.isEmpty()) {
        QStringList linhas;
        linhas.reserve(c.linhas.size() + depoisDe.size());
        for (qsizetype i = 0; i < c.linhas.size(); ++i) {
            linhas.append(c.linhas[i]);
            if (const auto d = depoisDe.constFind(i); d != depoisDe.cend())
                linhas.append(*d);
        }
        c.linhas = std::move(linhas);
    }
    for (const SeccaoNova& nova : novas) {
        if (!c.linhas.isEmpty() && !c.linhas.last().trimmed().isEmpty())
            c.linhas.append(QString());
        c.linhas.append(u'[' + nova.nome + u']');
        c.linhas.append(nova.linhas);
        c.terminaEmQuebra = true;
    }
    indice = depoisDe.isEmpty() && novas.isEmpty() ? lido.indice : Indice(c.linhas);
    const QString quebra = c.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString texto = c.linhas.join(quebra);
    if (c.terminaEmQuebra)
        texto += quebra;

    QByteArray bytes;
    umByte = c.codificacao == Codificacao::Windows1252;
    if (umByte) {
        // A value the code page cannot hold turns the whole file to UTF-8
        // rather than losing characters.
        auto emUmByte = Windows1252::paraBytes(texto);
        umByte = emUmByte.has_value();
        if (umByte)
            bytes = std::move(*emUmByte);
    }
    if (!umByte) {
        bytes = texto.toUtf8();
        if (c.codificacao == Codificacao::Utf8ComBom)
            bytes.prepend("\xEF\xBB\xBF");
    }
    return bytes;
}

}  // namespace

struct FicheiroPerfil::Conteudo
{
    Texto texto;
    Retrato retrato;
    bool guardavel = false;  // the reading may serve the next calls while the file is as its retrato shows
    Indice indice{QStringList()};
};

FicheiroPerfil::FicheiroPerfil(QString caminho) : m_caminho(std::move(caminho)) {}

FicheiroPerfil::~FicheiroPerfil() = default;

const FicheiroPerfil::Conteudo& FicheiroPerfil::conteudo() const
{
    // A kept reading needs no turn: the file is as it was read.
    if (m_conteudo && m_conteudo->guardavel && m_conteudo->retrato == retratar(m_caminho))
        return *m_conteudo;
    return conteudoDe(GravacaoFicheiro::ler(m_caminho, m_esperaVez));
}

const FicheiroPerfil::Conteudo& FicheiroPerfil::conteudoDe(const GravacaoFicheiro::Leitura& leitura) const
{
    // The times of the file as read: a change during the reading shows at the next call.
    const Retrato retrato = leitura.estado ? retratoDe(*leitura.estado) : Retrato{};
    if (m_conteudo && m_conteudo->guardavel && m_conteudo->retrato == retrato)
        return *m_conteudo;
    // A file that cannot be read gives every key its default; the log says
    // why once, and again only when the reason changes.
    QString aviso = leitura.razao;
    if (aviso.isEmpty() && leitura.erro != 0)
        aviso = Erros::razaoSistema(leitura.erro);
    if (aviso != m_aviso) {
        m_aviso = aviso;
        if (!aviso.isEmpty())
            qCWarning(diarioFicheiros).noquote()
                << "the settings file" << m_caminho
                << (leitura.existe ? "is read as it is:" : "cannot be read, its keys take their defaults:") << aviso;
    }
    auto c = std::make_unique<Conteudo>();
    if (leitura.existe)
        c->texto = decodificar(leitura.bytes);
    ++m_leituras;
    c->retrato = retrato;
    c->guardavel = retratoAntigo(c->retrato);
    c->indice = Indice(c->texto.linhas);
    m_conteudo = std::move(c);
    return *m_conteudo;
}

std::optional<QString> FicheiroPerfil::valor(const QString& seccao, const QString& chave) const
{
    const Conteudo& c = conteudo();
    const Posicao p = c.indice.procurar(seccao, chave);
    if (p.chave < 0)
        return std::nullopt;
    const QString& linha = c.texto.linhas[p.chave];
    return semAspas(linha.mid(linha.indexOf(u'=') + 1));
}

QString FicheiroPerfil::ler(const QString& seccao, const QString& chave, const QString& defeito) const
{
    return cortar(valor(seccao, chave).value_or(defeito));
}

bool FicheiroPerfil::escrever(const QString& seccao, const QString& chave, const QString& valor)
{
    return escrever(QList<Escrita>{{seccao, chave, valor}});
}

bool FicheiroPerfil::escrever(const QList<Escrita>& escritas)
{
    // A copy of the file as it stands once locked (the kept reading when the
    // file is still as read), changed and written whole: the kept reading
    // changes only once the file is replaced.
    Texto c;
    std::optional<Indice> indice;
    bool umByte = false;
    const auto compor = [&](const GravacaoFicheiro::Leitura& leitura) {
        const Conteudo& actual = conteudoDe(leitura);
        return comporTexto({actual.texto, actual.indice}, escritas, c, indice, umByte);
    };
    const GravacaoFicheiro::Resultado r = GravacaoFicheiro::gravar(m_caminho, compor, m_esperaVez);
    if (r.erro != 0) {
        m_razaoFalha = r.razao.isEmpty() ? Erros::razaoSistema(r.erro) : r.razao;
        return false;
    }
    m_razaoFalha.clear();
    auto escrito = std::make_unique<Conteudo>();
    escrito->texto = std::move(c);
    escrito->indice = std::move(*indice);
    escrito->retrato = r.estado ? retratoDe(*r.estado) : Retrato{};
    escrito->guardavel = r.estado.has_value();  // what was just written is known
    ++m_substituicoes;
    // A file in the older code page that took a character beyond it is UTF-8 now.
    if (!umByte && escrito->texto.codificacao == Codificacao::Windows1252)
        escrito->texto.codificacao = Codificacao::Utf8;
    m_conteudo = std::move(escrito);
    return true;
}

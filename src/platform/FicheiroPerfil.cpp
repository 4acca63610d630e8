#include "platform/FicheiroPerfil.h"

#include "platform/Erro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringConverter>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Codificacao { Utf8, Utf8ComBom, Latin1 };

struct Texto
{
    QStringList linhas;
    Codificacao codificacao = Codificacao::Utf8;
    bool crlf = false;
    bool terminaEmQuebra = true;
};

// What tells one state of the file from another: which file the path names,
// its size and its change times (the file as read; none when missing).
struct Marca
{
    bool existe = false;
    dev_t dispositivo = 0;
    ino_t inode = 0;
    off_t tamanho = 0;
    timespec modificado{};
    timespec alterado{};

    bool operator==(const Marca& o) const
    {
        return existe == o.existe && dispositivo == o.dispositivo && inode == o.inode && tamanho == o.tamanho
               && modificado.tv_sec == o.modificado.tv_sec && modificado.tv_nsec == o.modificado.tv_nsec
               && alterado.tv_sec == o.alterado.tv_sec && alterado.tv_nsec == o.alterado.tv_nsec;
    }
};

Marca marcaDe(const struct stat& st)
{
    Marca m;
    m.existe = true;
    m.dispositivo = st.st_dev;
    m.inode = st.st_ino;
    m.tamanho = st.st_size;
    m.modificado = st.st_mtim;
    m.alterado = st.st_ctim;
    return m;
}

Marca marcar(const QString& caminho)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(caminho).constData(), &st) != 0)
        return {};
    return marcaDe(st);
}

// A file changed a moment before it was read may change again within the
// same tick of the file system's clock without its times moving: such a
// reading is not kept.
bool marcaAntiga(const Marca& m)
{
    timespec agora{};
    ::clock_gettime(CLOCK_REALTIME, &agora);
    return !m.existe || m.modificado.tv_sec + 2 < agora.tv_sec;
}

Texto carregar(const QString& caminho, bool& existe)
{
    Texto c;
    existe = false;
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return c;
    existe = true;
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        c.codificacao = Codificacao::Utf8ComBom;
        bytes.remove(0, 3);
    }
    QString texto;
    {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        texto = utf8.decode(bytes);
        if (utf8.hasError()) {
            texto = QString::fromLatin1(bytes);
            c.codificacao = Codificacao::Latin1;
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

// An open file descriptor, closed when it goes.
struct Descritor
{
    int fd = -1;
    ~Descritor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

template <typename F> auto semInterrupcao(F chamada)
{
    decltype(chamada()) r;
    do
        r = chamada();
    while (r < 0 && errno == EINTR);
    return r;
}

// Opens a file for the new text in the folder `pasta`. Where the file system
// allows it the file has no name, so a process killed while it writes leaves
// nothing behind; elsewhere it is the hidden name itself, truncated (a file
// left there by a write cut short is reused). `comNome` says which.
int abrirNovo(int pasta, const QByteArray& nomeTemporario, Descritor& d, bool& comNome)
{
    d.fd = semInterrupcao([&] { return ::openat(pasta, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666); });
    comNome = d.fd < 0;
    if (comNome)
        d.fd = semInterrupcao([&] {
            return ::openat(pasta, nomeTemporario.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW,
                            0666);
        });
    return d.fd < 0 ? errno : 0;
}

// Gives the nameless file `fd` the hidden name, in place of any such file a
// write cut short left.
int nomear(int fd, int pasta, const QByteArray& nomeTemporario)
{
    ::unlinkat(pasta, nomeTemporario.constData(), 0);
    const QByteArray proprio = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, proprio.constData(), pasta, nomeTemporario.constData(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    // Without /proc, the call that needs no name (some systems allow it only to administrators).
    return ::linkat(fd, "", pasta, nomeTemporario.constData(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

// Puts the text `compor` makes in place of the file at `caminho`: written
// whole into a new file in its folder, synced, then renamed over it. The
// writers of the folder take turns (a lock on the folder, where the file
// system has such locks), and `compor` is called once the turn is this
// one's, so it reads the file as the writer before left it and no writer's
// keys are lost to another's. Returns 0, or the errno of the step that
// failed, the file then untouched and nothing left beside it. `escrito` is
// the new file's marca, taken before the turn passes on: taken after, it
// could be the next writer's file, which the reading kept would then hide.
int substituir(const QString& caminho, const std::function<QByteArray()>& compor, Marca& escrito)
{
    // A link is followed, so the link stays and its target takes the new text.
    QString destino = caminho;
    if (const QFileInfo info(caminho); info.isSymLink())
        destino = info.symLinkTarget();
    const QFileInfo destinoInfo(destino);
    const QByteArray alvo = QFile::encodeName(destinoInfo.fileName());
    const QByteArray nomeTemporario = '.' + alvo + ".novo";

    Descritor pasta;
    pasta.fd = semInterrupcao([&] {
        return ::open(QFile::encodeName(destinoInfo.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    });
    if (pasta.fd < 0)
        return errno;
    semInterrupcao([&] { return ::flock(pasta.fd, LOCK_EX); });

    struct stat actual
    {
    };
    const bool existe = ::fstatat(pasta.fd, alvo.constData(), &actual, 0) == 0;
    if (existe && S_ISDIR(actual.st_mode))
        return EISDIR;
    if (existe && ::faccessat(pasta.fd, alvo.constData(), W_OK, 0) != 0)
        return errno;  // a file kept read-only on purpose stays so

    Descritor d;
    bool comNome = false;
    if (const int e = abrirNovo(pasta.fd, nomeTemporario, d, comNome))
        return e;
    bool nomeado = comNome;
    const auto falhar = [&](int e) {
        if (nomeado)
            ::unlinkat(pasta.fd, nomeTemporario.constData(), 0);
        return e;
    };
    const QByteArray bytes = compor();
    if (existe && ::fchmod(d.fd, actual.st_mode & 07777) != 0)
        return falhar(errno);
    for (qsizetype feito = 0; feito < bytes.size();) {
        const ssize_t n =
            semInterrupcao([&] { return ::write(d.fd, bytes.constData() + feito, size_t(bytes.size() - feito)); });
        if (n <= 0)
            return falhar(n < 0 ? errno : EIO);
        feito += n;
    }
    // A full disk may show only here, when the written blocks get their place.
    if (semInterrupcao([&] { return ::fsync(d.fd); }) != 0)
        return falhar(errno);
    if (!nomeado) {
        if (const int e = nomear(d.fd, pasta.fd, nomeTemporario))
            return e;
        nomeado = true;
    }
    if (::renameat(pasta.fd, nomeTemporario.constData(), pasta.fd, alvo.constData()) != 0)
        return falhar(errno);
    struct stat st
    {
    };
    escrito = ::fstat(d.fd, &st) == 0 ? marcaDe(st) : Marca{};  // none: read again at the next call
    // The rename itself on the disk; a folder that cannot be synced changes nothing.
    ::fsync(pasta.fd);
    return 0;
}

// The file as read: its text and where its sections and keys are.
struct Lido
{
    const Texto& texto;
    const Indice& indice;
};

// The file's text `lido` with the keys of `escritas` set, in `c` and its
// `indice`, and the bytes to write (`latin1` when they stay Latin-1).
QByteArray comporTexto(const Lido& lido, const QList<FicheiroPerfil::Escrita>& escritas, Texto& c,
                       std::optional<Indice>& indice, bool& latin1)
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
    latin1 = c.codificacao == Codificacao::Latin1;
    if (latin1) {
        // A value that Latin-1 cannot hold turns the whole file to UTF-8
        // rather than losing characters.
        QStringEncoder enc(QStringConverter::Latin1);
        for (QChar ch : texto) {
            if (ch.unicode() > 0xff) {
                latin1 = false;
                break;
            }
        }
        if (latin1)
            bytes = enc.encode(texto);
    }
    if (!latin1) {
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
    Marca marca;
    bool guardavel = false;  // the reading may serve the next calls while the marca holds
    Indice indice{QStringList()};
};

FicheiroPerfil::FicheiroPerfil(QString caminho) : m_caminho(std::move(caminho)) {}

FicheiroPerfil::~FicheiroPerfil() = default;

const FicheiroPerfil::Conteudo& FicheiroPerfil::conteudo() const
{
    const Marca marca = marcar(m_caminho);
    if (m_conteudo && m_conteudo->guardavel && m_conteudo->marca == marca)
        return *m_conteudo;
    auto c = std::make_unique<Conteudo>();
    bool existe = false;
    c->texto = carregar(m_caminho, existe);
    ++m_leituras;
    // The times of the file as read: a change during the reading shows at the next call.
    c->marca = existe ? marca : Marca{};
    c->guardavel = marcaAntiga(c->marca);
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
    // A copy of the file as it stands once locked, changed and written
    // whole: the kept reading changes only once the file is replaced.
    Texto c;
    std::optional<Indice> indice;
    bool latin1 = false;
    const auto compor = [&] {
        const Conteudo& actual = conteudo();
        return comporTexto({actual.texto, actual.indice}, escritas, c, indice, latin1);
    };
    Marca marca;
    if (const int e = substituir(m_caminho, compor, marca)) {
        m_razaoFalha = Erros::razaoSistema(e);
        return false;
    }
    m_razaoFalha.clear();
    auto escrito = std::make_unique<Conteudo>();
    escrito->texto = std::move(c);
    escrito->indice = std::move(*indice);
    escrito->marca = marca;
    escrito->guardavel = true;  // what was just written is known
    ++m_substituicoes;
    // A Latin-1 file that took a character beyond Latin-1 is UTF-8 now.
    if (!latin1 && escrito->texto.codificacao == Codificacao::Latin1)
        escrito->texto.codificacao = Codificacao::Utf8;
    m_conteudo = std::move(escrito);
    return true;
}

#include "platform/FicheiroPerfil.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>

namespace {

enum class Codificacao { Utf8, Utf8ComBom, Latin1 };

struct Conteudo
{
    QStringList linhas;
    Codificacao codificacao = Codificacao::Utf8;
    bool crlf = false;
    bool terminaEmQuebra = true;
    bool existe = false;
};

Conteudo carregar(const QString& caminho)
{
    Conteudo c;
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return c;
    c.existe = true;
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

bool mesmoNome(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

QString semAspas(QString valor)
{
    valor = valor.trimmed();
    if (valor.size() >= 2 && (valor.front() == u'"' || valor.front() == u'\'') &&
        valor.back() == valor.front())
        valor = valor.mid(1, valor.size() - 2);
    return valor;
}

struct Posicao
{
    qsizetype seccao = -1;       // the line of the section's header
    qsizetype chave = -1;        // the line of the key
    qsizetype ultimaChave = -1;  // the last key line of the section
};

Posicao procurar(const QStringList& linhas, const QString& seccao, const QString& chave)
{
    Posicao p;
    bool dentro = false;
    for (qsizetype i = 0; i < linhas.size(); ++i) {
        if (const auto nome = nomeSeccao(linhas[i])) {
            if (dentro)
                break;  // the first section of that name is the one that counts
            if (mesmoNome(*nome, seccao)) {
                dentro = true;
                p.seccao = i;
            }
            continue;
        }
        if (!dentro)
            continue;
        const qsizetype igual = linhas[i].indexOf(u'=');
        if (igual < 0)
            continue;
        p.ultimaChave = i;
        if (p.chave < 0 && mesmoNome(linhas[i].left(igual).trimmed(), chave))
            p.chave = i;
    }
    return p;
}

QString cortar(const QString& texto)
{
    if (texto.size() <= FicheiroPerfil::TamanhoMaximo)
        return texto;
    qsizetype n = FicheiroPerfil::TamanhoMaximo;
    if (texto[n - 1].isHighSurrogate())
        --n;  // never split a character in two
    return texto.left(n);
}

}  // namespace

FicheiroPerfil::FicheiroPerfil(QString caminho) : m_caminho(std::move(caminho)) {}

std::optional<QString> FicheiroPerfil::valor(const QString& seccao, const QString& chave) const
{
    const Conteudo c = carregar(m_caminho);
    const Posicao p = procurar(c.linhas, seccao, chave);
    if (p.chave < 0)
        return std::nullopt;
    const QString& linha = c.linhas[p.chave];
    return semAspas(linha.mid(linha.indexOf(u'=') + 1));
}

QString FicheiroPerfil::ler(const QString& seccao, const QString& chave, const QString& defeito) const
{
    return cortar(valor(seccao, chave).value_or(defeito));
}

bool FicheiroPerfil::escrever(const QString& seccao, const QString& chave, const QString& valor)
{
    QString limpo = valor;
    limpo.remove(u'\r').remove(u'\n');
    Conteudo c = carregar(m_caminho);
    const Posicao p = procurar(c.linhas, seccao, chave);
    if (p.chave >= 0) {
        QString& linha = c.linhas[p.chave];
        linha = linha.left(linha.indexOf(u'=') + 1) + limpo;
    } else if (p.seccao >= 0) {
        const qsizetype depois = (p.ultimaChave >= 0 ? p.ultimaChave : p.seccao) + 1;
        c.linhas.insert(depois, chave + u'=' + limpo);
    } else {
        if (!c.linhas.isEmpty() && !c.linhas.last().trimmed().isEmpty())
            c.linhas.append(QString());
        c.linhas.append(u'[' + seccao + u']');
        c.linhas.append(chave + u'=' + limpo);
        c.terminaEmQuebra = true;
    }

    const QString quebra = c.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString texto = c.linhas.join(quebra);
    if (c.terminaEmQuebra)
        texto += quebra;

    QByteArray bytes;
    bool latin1 = c.codificacao == Codificacao::Latin1;
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

    QSaveFile f(m_caminho);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

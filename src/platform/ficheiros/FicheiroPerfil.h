#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <chrono>
#include <memory>
#include <optional>

namespace GravacaoFicheiro {
struct Leitura;
}

// A settings file of sections and "key=value" lines, read and written with the
// rules a station's settings file has always had: sections and keys are found
// without regard to letter case, a value is trimmed and loses one pair of
// enclosing quotes, and a write changes one line in place and keeps the rest
// (comments, order, line endings, encoding). A value written by another
// program is seen at the next call: the parsed file is kept only while the
// file's identity, size and change times stay as they were when it was read
// (and not at all when it had changed too shortly before to tell a second
// change in the same clock tick); nothing is ever created or changed by a
// read, but for the old text a save cut short left to be put back. A file
// that cannot be read (larger than any settings file can be, behind another
// user's link) is read as empty, and the log says why.
// A write goes to the real file its path leads to, each symbolic link on the
// way (the file's own, a folder's, a link's in turn) followed only where this
// program's user, the administrator or the owner of the folder it sits in
// made it, and keeps what the site set up around it (owner, group, mode, extended
// attributes, every hard link), replaces the file whole or not at all, even
// for a program killed or a power cut part-way, and takes turns with the
// other programs that write or read the file: GravacaoFicheiro says how. A
// turn not given within a few seconds fails the write; a reading then still
// gets a whole text. A file that is not UTF-8 is read and written in the
// older station's code page, Windows-1252.
class FicheiroPerfil
{
public:
    static constexpr int TamanhoMaximo = 254;
    // How long a write or a reading waits for its turn on the file.
    static constexpr std::chrono::milliseconds EsperaVezPadrao{5000};

    explicit FicheiroPerfil(QString caminho = {});
    ~FicheiroPerfil();

    const QString& caminho() const { return m_caminho; }

    // The value of a key, or nothing when the file, the section or the key is missing.
    std::optional<QString> valor(const QString& seccao, const QString& chave) const;

    // The value of a key, or the default when it is missing; either cut to 254 characters.
    QString ler(const QString& seccao, const QString& chave, const QString& defeito) const;

    // Sets a key, creating the file, the section and the key as needed, and
    // replaces the file. Line breaks in the value are dropped, as a value is
    // one line. Returns false when the system refuses the write: the file is
    // then exactly as it was, and razaoFalha() says why.
    bool escrever(const QString& seccao, const QString& chave, const QString& valor);

    // Several keys set as above, in this order, in one replacement of the file.
    struct Escrita
    {
        QString seccao;
        QString chave;
        QString valor;
    };
    bool escrever(const QList<Escrita>& escritas);

    // How long the next writes and readings wait for their turn (support and tests).
    void definirEsperaVez(std::chrono::milliseconds espera) { m_esperaVez = espera; }

    // Why the last write failed, in Portuguese words.
    const QString& razaoFalha() const { return m_razaoFalha; }

    // How many times the file has been parsed, and replaced: support and tests.
    int leituras() const { return m_leituras; }
    int substituicoes() const { return m_substituicoes; }

private:
    struct Conteudo;
    const Conteudo& conteudo() const;
    // The file as found, parsed unless it is still the kept reading.
    const Conteudo& conteudoDe(const GravacaoFicheiro::Leitura& leitura) const;

    QString m_caminho;
    QString m_razaoFalha;
    mutable QString m_aviso;  // what the log was last told of a reading
    std::chrono::milliseconds m_esperaVez = EsperaVezPadrao;
    mutable std::unique_ptr<Conteudo> m_conteudo;
    mutable int m_leituras = 0;
    int m_substituicoes = 0;
};

#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A settings file of sections and "key=value" lines, read and written with the
// rules a station's settings file has always had: sections and keys are found
// without regard to letter case, a value is trimmed and loses one pair of
// enclosing quotes, and a write changes one line in place and keeps the rest
// (comments, order, line endings, encoding). The file is read anew on every
// call, so a value written by another program is seen at once; nothing is ever
// created or changed by a read.
class FicheiroPerfil
{
public:
    static constexpr int TamanhoMaximo = 254;

    explicit FicheiroPerfil(QString caminho = {});

    const QString& caminho() const { return m_caminho; }

    // The value of a key, or nothing when the file, the section or the key is missing.
    std::optional<QString> valor(const QString& seccao, const QString& chave) const;

    // The value of a key, or the default when it is missing; either cut to 254 characters.
    QString ler(const QString& seccao, const QString& chave, const QString& defeito) const;

    // Sets a key, creating the file, the section and the key as needed, and
    // replaces the file atomically. Line breaks in the value are dropped, as a
    // value is one line. Returns false when the system refuses the write.
    bool escrever(const QString& seccao, const QString& chave, const QString& valor);

private:
    QString m_caminho;
};

#pragma once

#include <QByteArray>
#include <QString>
#include <sys/types.h>

// The mark that a save into the file itself puts on the file while it
// writes (an extended attribute of the user namespace): whose save it is,
// where its rollback copy is, and the length and checksum of the old and
// the new text. It is set before the first byte changes and removed once
// the file holds a whole text again, so that a station that cannot reach
// the copy still knows that a save was cut short, and whether the file is
// nonetheless one of that save's whole texts.
struct MarcaGravacao
{
    static constexpr const char* Atributo = "user.zumarel.gravacao";

    uid_t dono = 0;
    QString utilizador;  // the saving user's name
    QString computador;  // and the computer it saved from
    QByteArray pasta;    // the copy's folder, as the saving station named it
    QByteArray nome;     // the copy's name in it
    QByteArray antigo;   // length and checksum of each text, as the copy has them
    QByteArray novo;

    // What a box or the log may show of a field of the mark, which any user
    // who may write the file can fill: no control characters or line breaks
    // (each becomes '?'), at most `maximo` characters (the last one "…" when cut).
    static QString paraMostrar(const QString& campo, qsizetype maximo);
    static constexpr qsizetype NomeMaximo = 64;      // a user's or computer's name
    static constexpr qsizetype CaminhoMaximo = 255;  // a folder's or file's name

    // The length and checksum of a text, as a mark and a copy name it.
    static QByteArray verificacao(const QByteArray& texto);

    // `texto` is one of the whole texts of the save that left the mark.
    bool inteiro(const QByteArray& texto) const;

    enum class Estado
    {
        Nenhuma,    // no save into the file was cut short
        Posta,      // a save was under way, or cut short
        SemSuporte  // the file system keeps no such mark
    };

    // The mark of the file open as `fd`: 0, or the errno of the reading.
    static int ler(int fd, Estado& estado, MarcaGravacao& marca);

    // Puts the mark on the file open as `fd` and syncs it, so that it is on
    // the disk before any byte of the text: 0, or the errno of the refusal
    // (ENOTSUP: the file system keeps none).
    int por(int fd) const;

    // Removes it: 0, or the errno of the refusal.
    static int tirar(int fd);

    // Tests only: false makes every file system one that keeps no marks.
    static bool comMarcas;
};

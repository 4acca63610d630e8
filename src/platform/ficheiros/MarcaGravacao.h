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
//
// It is short enough to stay in the file's own inode on ext4 (no disk block
// of its own to write and sync): a version, the saving user's number, a
// letter for the copy's place (its name follows from the file's device and
// inode), each text's length and the first 72 bits of its SHA-256 in
// base64, and the computer's name where it still fits. A mark of the older
// form (lines of "zumarel 1", the copy's folder and name spelled out) is
// read as well.
struct MarcaGravacao
{
    static constexpr const char* Atributo = "user.zumarel.gravacao";

    // The most a mark holds: what ext4's 256-byte inodes leave a value beside the attribute's name.
    static constexpr qsizetype ValorMaximo = 56;

    uid_t dono = 0;
    QString utilizador;  // the saving user's name
    QString computador;  // and the computer it saved from, when the mark names it
    QByteArray pasta;    // the copy's folder, as a mark of the older form names it; else empty
    QByteArray nome;     // the copy's name in it
    QByteArray antigo;   // length and checksum of each text (as the copy has them, or the mark's short form)
    QByteArray novo;

    // The length and checksum of a text, as a mark and a copy name it.
    static QByteArray verificacao(const QByteArray& texto);

    // The short form of a verificacao, as a mark keeps it: the length and the
    // first 72 bits of the checksum, in base64.
    static QByteArray curta(const QByteArray& verificacao);

    // `texto` is one of the whole texts of the save that left the mark.
    bool inteiro(const QByteArray& texto) const;

    // `antigoCopia` and `novoCopia` (a copy's texts) are the texts of the save that left the mark.
    bool daCopia(const QByteArray& antigoCopia, const QByteArray& novoCopia) const;

    // The copy is in the user's state folder, not beside the file.
    bool naPastaEstado() const { return nome.startsWith("copia-"); }

    enum class Estado
    {
        Nenhuma,    // no save into the file was cut short
        Posta,      // a save was under way, or cut short
        SemSuporte  // the file system keeps no such mark
    };

    // The mark of the file open as `fd`: 0, or the errno of the reading.
    static int ler(int fd, Estado& estado, MarcaGravacao& marca);

    // Puts the mark on the file open as `fd`: 0, or the errno of the refusal
    // (ENOTSUP: the file system keeps none). The caller syncs the file before
    // any byte of the text changes.
    int por(int fd) const;

    // Removes it, with no sync (a mark a power cut brings back tells the
    // file whole by its checksums): 0, or the errno of the refusal.
    static int tirar(int fd);

    // Tests only: false makes every file system one that keeps no marks.
    static bool comMarcas;
};

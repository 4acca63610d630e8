#pragma once

#include "platform/Descritor.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>

// The rollback copy of a save into the file itself: where it is kept, what
// it holds, and what it may do to the file as found (see GravacaoFicheiro.h
// for the save it belongs to). Each call that can fail gives 0 or an errno.
class CopiaAntiga
{
public:
    enum class Lugar
    {
        JuntoAoFicheiro,  // ".zumarel-antigo-<inode>" in the file's folder
        PastaEstado,      // "copia-<device>-<inode>" in the user's state folder
    };

    // What a whole copy holds.
    struct Conteudo
    {
        uid_t dono = 0;         // who made it
        QByteArray nascimento;  // when the file was made, where the file system tells; else empty
        QByteArray antigo;
        QByteArray novo;
    };

    // What the file as found says of the save that left the copy.
    enum class Veredicto
    {
        Inteiro,       // a whole text of that save, old or new: the file stays, the copy goes
        Repor,         // what that save left part-way: the old text goes back
        OutroFicheiro  // a newer file (the same inode number given again, or a text written since)
    };

    // The copy at `lugar` of the file open as `ficheiro` (`estado` its
    // status, `caminho` its real path) in the folder open as `pasta`.
    CopiaAntiga(Lugar lugar, int pasta, int ficheiro, const QByteArray& caminho, const struct stat& estado);

    bool existe();

    // The copy a save left, opened and locked, waiting for a save still
    // alive until `prazo`: 0; ENOENT when there is none (or its save ended
    // meanwhile); EWOULDBLOCK when the wait runs out.
    int tomar(const QDeadlineTimer& prazo);

    // What the copy holds, when it is whole.
    std::optional<Conteudo> ler() const;

    Veredicto julgar(const Conteudo& copia, const QByteArray& ficheiro) const;

    // Whoever made the copy may write the file: else it is not put back (in a
    // folder where anyone makes files, a copy anyone could have left).
    bool donoPodeEscrever(const Conteudo& copia) const;

    // The copy of a save about to write `novo` over `antigo`: named only once
    // it is whole, synced and locked. Beside the file it has the file's group
    // and mode (and access control list), so that every user of the file can
    // read it, and no one else.
    int guardar(const QByteArray& antigo, const QByteArray& novo);

    // The end of a save: the file holds a whole text, and the copy goes.
    // A folder that cannot be synced leaves at worst the copy, and then
    // the old text, after a power cut.
    int apagar();

    // A copy that may not be put back keeps its text under a name that says
    // so, for a technician, and the log says why.
    int porDeLado(const char* porque);

    // Its folder (empty: the user has no state folder), for the messages.
    QByteArray pasta() const;

private:
    int descritorPasta() const;
    int abrirPasta(bool criar);
    QByteArray formar(const QByteArray& antigo, const QByteArray& novo) const;
    int darPermissoes(int copia) const;

    Lugar m_lugar;
    int m_pastaFicheiro;
    int m_ficheiro;
    QByteArray m_caminho;
    struct stat m_estado;
    QByteArray m_nascimento;
    QByteArray m_nome;
    Descritor m_pastaEstado;
    Descritor m_copia;
};

#pragma once

#include "platform/ficheiros/ConteudoCopia.h"
#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/MarcaGravacao.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>

class FicheiroNovo;

// The rollback copy of a save into the file itself: where it is kept and
// under what name, its turn, and what may become of it (see GravacaoFicheiro.h
// for the save it belongs to; ConteudoCopia.h for what it holds,
// PermissoesCopia.h for who may use it). Each call that can fail gives 0 or
// an errno.
class CopiaAntiga
{
public:
    enum class Lugar
    {
        JuntoAoFicheiro,  // ".zumarel-antigo-<inode>" in the file's folder
        PastaEstado,      // "copia-<device>-<inode>" in the user's state folder
    };

    // Where a copy is looked for, and kept: beside the file first.
    static constexpr Lugar Lugares[] = {Lugar::JuntoAoFicheiro, Lugar::PastaEstado};

    // What a whole copy holds, and what the file as found says of its save (see ConteudoCopia.h).
    using Conteudo = ConteudoCopia::Conteudo;
    using Veredicto = ConteudoCopia::Veredicto;

    // What tomar gives for an entry that is no file of its own (a folder, a
    // link, a socket...): it cannot be a copy.
    static constexpr int NaoEFicheiro = -1;

    // What guardar gives where other users' entries hold every provisional
    // name of the copy (see Descritores::nomesProvisorios).
    static constexpr int NomesProvisoriosTomados = -2;

    // The copy at `lugar` of the file open as `ficheiro` (`estado` its
    // status, `caminho` its real path) in the folder open as `pasta`.
    CopiaAntiga(Lugar lugar, int pasta, int ficheiro, const QByteArray& caminho, const struct stat& estado);

    bool existe();

    // The copy a save left, opened and locked, waiting for a save still
    // alive until `prazo`: 0; ENOENT when there is none (or its save ended
    // meanwhile); EWOULDBLOCK when the wait runs out; NaoEFicheiro; else
    // the errno of the opening (EACCES: this user may not read it).
    int tomar(const QDeadlineTimer& prazo);

    // What the copy holds, when it is whole. Nothing past what a whole copy
    // can hold is read.
    std::optional<Conteudo> ler() const;

    Veredicto julgar(const Conteudo& copia, const QByteArray& ficheiro) const;

    // Whoever made the copy may write the file: else it is not put back (in a
    // folder where anyone makes files, a copy anyone could have left). A
    // mark on the file says so of its own save's copy, as only a user who
    // may write a file can mark it.
    bool donoPodeEscrever(const Conteudo& copia) const;

    // The copy of a save about to write `novo` over `antigo`: named only once
    // it is whole, synced and locked. Beside the file it can be read by
    // exactly whoever may read the file, the file's owner included (see
    // PermissoesCopia: ENOTSUP where no list or mode says that there).
    // EEXIST: something else holds its name; NomesProvisoriosTomados.
    int guardar(const QByteArray& antigo, const QByteArray& novo);

    // Removes the provisional copies beside a file that this user's saves cut
    // short left in the folder open as `pasta`, of whatever inode the file
    // had then (guardar does the same in the state folder, for any file):
    // they are found by reading the whole folder, so only where it has no
    // nameless files (where it has, no copy there takes a provisional name);
    // `excepto` is the one this save is making.
    static void tirarRestos(int pasta, const QByteArray& excepto);

    // The mark of the save whose copy this is (after guardar).
    MarcaGravacao marca() const;

    // The end of a save: the file holds a whole text, and the copy goes.
    int apagar();

    // A copy that may not be put back keeps its text under a name that says
    // so, for a technician, and the log says why.
    int porDeLado(const char* porque);

    // Its folder (empty: the user has no state folder), and its name there.
    QByteArray pasta() const;
    const QByteArray& nome() const { return m_nome; }

    // For the operator's box, naming whatever holds the copy's name by its
    // kind and owner (an entry this station could not read is not known to
    // be its copy): what holds it and is no copy (empty when nothing does);
    // what could not be taken, `e` the errno tomar gave.
    QString ocupante() const;
    QString naoLida(int e) const;
    // After tomar gave EWOULDBLOCK: who holds the copy's turn, as the system
    // shows it (see VezOcupada.h).
    QString quemTemAVez() const;

private:
    // Makes the copy's file, with no name or a provisional one, and locks
    // it; where it took a provisional name, removes the leftovers of this
    // user's cut saves beside it (see tirarRestos).
    int fazer(FicheiroNovo& copia);
    // tirarRestos for the copies named `prefixo`, `partes` numbers joined by
    // '-', then ".novo", in the folder open as `pasta`.
    static void tirarRestos(int pasta, const QByteArray& prefixo, qsizetype partes, const QByteArray& excepto);
    QString entrada() const;
    int descritorPasta() const;
    int abrirPasta(bool criar);

    Lugar m_lugar;
    int m_pastaFicheiro;
    int m_ficheiro;
    QByteArray m_caminho;
    struct stat m_estado;
    QByteArray m_nascimento;
    QByteArray m_nome;
    QByteArray m_verificacaoAntigo;
    QByteArray m_verificacaoNovo;
    Descritor m_pastaEstado;
    Descritor m_copia;
};

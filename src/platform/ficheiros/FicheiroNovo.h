#pragma once

#include "platform/ficheiros/Descritor.h"

#include <QByteArray>
#include <sys/types.h>

// A new file in a folder, written whole before anyone finds it by its name:
// made with no name where the file system allows it (a process killed before
// it is named leaves nothing behind), elsewhere under the first free one of
// a few provisional names (Descritores::nomesProvisorios), made exclusively
// for it alone; then named. This is the one place where the settings file's
// new texts, its rollback copies and the PDFs are made so. Whenever it goes
// unnamed (given up, or gone with this object), its provisional name is
// removed, while that name still leads to it. Each call that can fail gives
// 0 or an errno.
class FicheiroNovo
{
public:
    FicheiroNovo() = default;
    ~FicheiroNovo();
    FicheiroNovo(const FicheiroNovo&) = delete;
    FicheiroNovo& operator=(const FicheiroNovo&) = delete;

    // Makes it in the folder open as `pasta` (which stays open while this
    // lives) with the mode `modo`: with no name, or under the first free one
    // of the provisional names of `provisorio`, what this user's runs cut
    // short left at those names removed first. No other run may make those
    // names meanwhile: the caller holds a turn that covers them (a save's on
    // the file's folder) or chose `provisorio` as no other run can (a PDF's,
    // with a random part). EEXIST: other users' entries hold them all.
    int criar(int pasta, const QByteArray& provisorio, mode_t modo);

    // The open file, for reading and writing; -1 before criar.
    int fd() const { return m_ficheiro.fd; }

    // Its provisional name: empty while it has none (made with no name, or named).
    const QByteArray& provisorio() const { return m_provisorio; }

    // Names it `nome`, never in place of an entry there: by a link of the
    // open file, else (a file system without hard links) by a rename of its
    // provisional name that never replaces. EEXIST when the name is taken;
    // EOPNOTSUPP where the file system has neither way, and ENOENT where
    // someone took its provisional name from it, so that a caller may take
    // another way. Once named, its provisional name goes; until then it
    // stays, for another try.
    int nomear(const QByteArray& nome);

    // A file made with no name takes a provisional one, as criar gives them,
    // so that it can be put in place of another (see substituir).
    int darNomeProvisorio();

    // Puts it in place of `nome`, whatever is there, in one rename from its
    // provisional name (given first where it has none).
    int substituir(const QByteArray& nome);

    // It goes unnamed: its provisional name is removed at once. The file
    // stays open, to be written and read, and goes with its descriptor.
    void desistir();

    // Hands its descriptor on, once it is named: this keeps nothing.
    Descritor soltar() { return std::move(m_ficheiro); }

private:
    int m_pasta = -1;
    QByteArray m_provisorioBase;  // the first of its provisional names
    QByteArray m_provisorio;
    Descritor m_ficheiro;
};

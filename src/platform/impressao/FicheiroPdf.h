#pragma once

#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/FicheiroNovo.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <memory>

// The names a PDF may take, in order: "<base>.pdf" (numero 1), then
// "<base>-2.pdf", "<base>-3.pdf"…
QString nomePdf(const QString& base, int numero);

// A new file as a PDF writer writes it (a FicheiroNovo), made with no name
// (or, where the file system has no nameless files, under a provisional name
// of its own, held while it is written and removed by a later run when a
// kill left it),
// so a run that fails or is abandoned leaves nothing. A PDF takes its name
// only once it is whole and only while that name is free: when another file
// took it meanwhile (another station writing into the same folder, say), it
// takes the next free one; nothing already in its folder is ever replaced.
// Where the file system has no links, it is named by a rename that does not
// replace, else by making the name exclusively and copying the file into it
// (NomesPdf). The file of a print never takes a name: it is read back whole
// through descritor(), and goes when closed. What is written goes out in
// blocks, and whenever despejar is called. The first call that fails is
// kept with the system's reason, and every write after it fails too, so no
// later one that happens to pass hides it.
class FicheiroPdf : public QIODevice
{
public:
    // The PDF nomePdf(base, numero), or a later name beside it.
    FicheiroPdf(const QString& base, int numero);
    // The file of a print, in the folder `pasta` (the system's temporary folder).
    static std::unique_ptr<FicheiroPdf> daImpressao(const QString& pasta);
    ~FicheiroPdf() override;
    FicheiroPdf(const FicheiroPdf&) = delete;
    FicheiroPdf& operator=(const FicheiroPdf&) = delete;

    // False when the file cannot be made (falha() says why). A PDF's own
    // folder is made when it is missing, open to whom the process's mask
    // lets in; the folders above it, and a print's folder, must be there.
    bool abrir();
    // Writes out what is kept back: false when it could not (falha() says why).
    bool despejar();
    // Ends the file: a PDF is synced and named. False when it could not be
    // written whole, or was abandoned.
    bool concluir();
    // Nothing of it is left; what is written after goes nowhere.
    void desistir();

    // "Não foi possível escrever o ficheiro <name>: <the system's reason>"
    // (for a print, its folder); empty while all is well.
    const QString& falha() const { return m_falha; }
    // The name the PDF took, once concluded.
    const QString& caminho() const { return m_caminho; }
    // The open file, -1 when there is none.
    int descritor() const { return m_novo.fd(); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* dados, qint64 tamanho) override;

private:
    FicheiroPdf(const QString& pasta, const QString& base, int numero);
    // Writes `tamanho` bytes at the file's end; false (kept in falha) when it cannot.
    bool escrever(const char* dados, qint64 tamanho);
    // Gives the whole file its name, the first free from nomePdf(base, numero).
    bool nomear();
    // Keeps the reason of the first failure, by its errno; false.
    bool falhar(int numeroErrno);

    const QString m_pasta;
    const QString m_base;  // empty for the file of a print
    const int m_numero;
    Descritor m_pastaAberta;
    FicheiroNovo m_novo;
    QByteArray m_retido;  // written, not yet gone out
    QString m_caminho;
    QString m_falha;
};

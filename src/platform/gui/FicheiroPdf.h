#pragma once

#include <QIODevice>
#include <QSaveFile>
#include <QString>

// A new PDF file as a PDF writer writes it: under a temporary name until it
// is whole, so a run that fails or is abandoned leaves nothing. The first
// write that fails is kept with the system's reason, and every write after it
// fails too, so no later one that happens to pass hides it.
class FicheiroPdf : public QIODevice
{
public:
    explicit FicheiroPdf(const QString& caminho);
    ~FicheiroPdf() override;

    // False when the file cannot be made (falha() says why).
    bool abrir();
    // Sends on what was written: false once a write failed.
    bool esvaziar();
    // Gives the file its name: false when it could not be written whole.
    bool concluir();
    // Nothing of it is left; what is written after goes nowhere.
    void desistir();

    // "Não foi possível escrever o ficheiro <name>: <the system's reason>";
    // empty while all is well.
    const QString& falha() const { return m_falha; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* dados, qint64 tamanho) override;

private:
    // One call on the file: false, and its reason kept, when it fails.
    template <typename F> bool correr(F chamada);
    // Takes the reason of what just failed.
    void falhar();

    QSaveFile m_ficheiro;
    QString m_falha;
    bool m_desistiu = false;
};

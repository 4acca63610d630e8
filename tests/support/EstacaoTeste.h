#pragma once

#include "data/Estacao.h"
#include "support/Falsos.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <memory>

// A whole station in a temporary folder, with fake services: the program
// folder, its settings file and a fresh database made by the installation step.
class EstacaoTeste
{
public:
    // With `comBaseDados`, an empty station database is made at Pesagem.mdb.
    explicit EstacaoTeste(bool comBaseDados = true);

    QString pasta() const { return m_pasta.path(); }
    QString caminho(const QString& nome) const { return m_pasta.filePath(nome); }

    // Writes the settings file with exactly these bytes.
    void escreverIni(const QByteArray& conteudo) const;

    // Opens the main database of the folder into the station (as start-up does).
    void abrirBaseDados();

    MensagensFalsas mensagens;
    RelogioFalso relogio;
    SistemaFalso sistema;
    ImpressoraFalsa impressora;
    std::unique_ptr<Estacao> estacao;

private:
    QTemporaryDir m_pasta;
};

// Writes a file with exactly these bytes.
void escreverFicheiro(const QString& caminho, const QByteArray& conteudo);
QByteArray lerFicheiro(const QString& caminho);

#include "platform/gui/FicheiroPdf.h"

#include "platform/Erro.h"

#include <cerrno>

FicheiroPdf::FicheiroPdf(const QString& caminho) : m_ficheiro(caminho) {}

FicheiroPdf::~FicheiroPdf()
{
    desistir();
}

template <typename F> bool FicheiroPdf::correr(F chamada)
{
    errno = 0;
    if (chamada())
        return true;
    falhar();
    return false;
}

bool FicheiroPdf::abrir()
{
    return correr([&] { return !m_ficheiro.fileName().isEmpty() && m_ficheiro.open(QIODevice::WriteOnly); })
           && QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 FicheiroPdf::writeData(const char* dados, qint64 tamanho)
{
    if (m_desistiu || !m_falha.isEmpty())
        return -1;
    return correr([&] { return m_ficheiro.write(dados, tamanho) == tamanho; }) ? tamanho : -1;
}

bool FicheiroPdf::esvaziar()
{
    return m_falha.isEmpty() && correr([&] { return m_ficheiro.flush(); });
}

bool FicheiroPdf::concluir()
{
    if (m_desistiu || !m_falha.isEmpty() || !m_ficheiro.isOpen())
        return false;
    return correr([&] { return m_ficheiro.commit(); });
}

void FicheiroPdf::desistir()
{
    m_desistiu = true;
    // A file not committed is removed with its temporary name.
    if (m_ficheiro.isOpen())
        m_ficheiro.cancelWriting();
}

void FicheiroPdf::falhar()
{
    // The system's number of the call that just failed; Qt's words where it left none.
    const int numero = errno;
    const QString razao = numero != 0 ? Erros::razaoSistema(numero)
                                      : QStringLiteral("Falha na escrita [%1]").arg(m_ficheiro.errorString());
    m_falha = QStringLiteral("Não foi possível escrever o ficheiro %1: %2").arg(m_ficheiro.fileName(), razao);
}

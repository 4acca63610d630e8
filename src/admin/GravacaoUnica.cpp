#include "admin/GravacaoUnica.h"

#include "platform/FicheiroPerfil.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

bool falhar(QString* erro, const QString& razao)
{
    if (erro)
        *erro = razao;
    return false;
}

bool copiar(const QString& origem, const QString& destino, QString* erro)
{
    QFile f(origem);
    if (!f.open(QIODevice::ReadOnly))
        return falhar(erro, f.errorString());
    const QByteArray bytes = f.readAll();
    QFile d(destino);
    if (!d.open(QIODevice::WriteOnly) || d.write(bytes) != bytes.size())
        return falhar(erro, d.errorString());
    return true;
}

}  // namespace

bool GravarDeUmaVez(const FicheiroPerfil& ini, const std::function<bool(FicheiroPerfil& copia)>& escrever,
                    QString* erro)
{
    const QString caminho = ini.caminho();
    const QFileInfo info(caminho);
    if (info.exists() && !info.isFile())
        return falhar(erro, QStringLiteral("%1 não é um ficheiro").arg(caminho));

    QTemporaryDir pasta;
    if (!pasta.isValid())
        return falhar(erro, pasta.errorString());
    const QString copiaCaminho = pasta.filePath(info.fileName());
    if (info.exists() && !copiar(caminho, copiaCaminho, erro))
        return false;

    FicheiroPerfil copia(copiaCaminho);
    if (!escrever(copia))
        return falhar(erro, QStringLiteral("escrita recusada na cópia temporária"));

    QFile novo(copiaCaminho);
    if (!novo.open(QIODevice::ReadOnly))
        return falhar(erro, novo.errorString());
    const QByteArray bytes = novo.readAll();

    // QSaveFile writes beside the file and renames over it: the file is
    // either the old one or the new one.
    QSaveFile f(caminho);
    if (!f.open(QIODevice::WriteOnly))
        return falhar(erro, f.errorString());
    if (f.write(bytes) != bytes.size()) {
        const QString razao = f.errorString();
        f.cancelWriting();
        return falhar(erro, razao);
    }
    if (!f.commit())
        return falhar(erro, f.errorString());
    return true;
}

#include "data/Passo.h"

#include "platform/Mensagens.h"

#include <exception>

namespace {
Erro erroDe(const std::exception& e)
{
    return Erro{3146, Erros::razaoExcepcao(e)};
}
}  // namespace

void MostrarErroBd(ServicoMensagens& mensagens, const QString& cabecalho, const Erro& erro)
{
    mensagens.MsgBox(cabecalho + QStringLiteral("\n\n(") + erro.descricao + u')', Estilo::Exclamacao,
                     QStringLiteral("Erro ") + QString::number(erro.numero));
}

void MostrarErroNumero(ServicoMensagens& mensagens, const QString& titulo, const Erro& erro)
{
    mensagens.MsgBox(QStringLiteral("Erro número: ") + QString::number(erro.numero) + QStringLiteral("\r\n")
                         + erro.descricao,
                     Estilo::Informacao, titulo);
}

bool Passo(ServicoMensagens& mensagens, const QString& cabecalho, const std::function<void()>& passo)
{
    Erro falha;
    if (PassoSilencioso(passo, &falha))
        return true;
    MostrarErroBd(mensagens, cabecalho, falha);
    return false;
}

bool PassoSilencioso(const std::function<void()>& passo, Erro* erro)
{
    try {
        passo();
        return true;
    } catch (const Erro& e) {
        if (erro)
            *erro = e;
    } catch (const std::exception& e) {
        if (erro)
            *erro = erroDe(e);
    }
    return false;
}

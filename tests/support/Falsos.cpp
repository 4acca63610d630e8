#include "support/Falsos.h"

QStringList MensagensFalsas::vistas() const
{
    QStringList v;
    for (const Caixa& c : caixas)
        v << QStringLiteral("%1 %2 %3").arg(c.titulo).arg(c.estilo).arg(c.texto);
    return v;
}

int MensagensFalsas::MsgBox(const QString& texto, int estilo, const QString& titulo)
{
    caixas << Caixa{texto, estilo, titulo};
    if (aoMostrar) {
        if (const int r = aoMostrar(caixas.last()))
            return r;
    }
    if (!respostas.isEmpty())
        return respostas.dequeue();
    if ((estilo & 0x7) == Estilo::SimNao) {
        ++semResposta;
        return (estilo & Estilo::SegundoBotao) ? Resposta::Nao : Resposta::Sim;
    }
    return Resposta::OK;
}

QString MensagensFalsas::InputBox(const QString& pergunta, const QString&, const QString&)
{
    perguntasTexto << pergunta;
    return textos.isEmpty() ? QString() : textos.dequeue();
}

bool SistemaFalso::DesligarComputador(QString* erro)
{
    ++desligacoes;
    if (recusar && erro)
        *erro = QStringLiteral("recusado");
    return !recusar;
}

bool SistemaFalso::AcertarDataHora(const QDateTime& momento, QString* erro)
{
    if (recusar) {
        if (erro)
            *erro = QStringLiteral("recusado");
        return false;
    }
    acertos << momento;
    return true;
}

bool SistemaFalso::IniciarPrograma(const QString& programa, const QStringList&)
{
    programas << programa;
    return !recusar;
}

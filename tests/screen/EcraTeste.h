#pragma once

#include "FalsosEcra.h"
#include "screen/EcraPesagem.h"
#include "data/Consulta.h"
#include "support/EstacaoTeste.h"

#include <QVariantList>

// A test station as the screen's tests want it: its database open, the
// operator "Ana" of the given level, both bridges in use with 60,000 kg each,
// and two weighings per stay.
inline void prepararEstacao(EstacaoTeste& t, int nivel)
{
    t.abrirBaseDados();
    Estacao& e = *t.estacao;
    e.Acesso.NivelAcesso = quint8(nivel);
    e.Acesso.NomeOperador = QStringLiteral("Ana");
    e.Def.CapacidadeMaxima = {60000, 60000};
    e.Def.IndLigado = {true, true};
    e.Def.DuasPesagens = true;
}

// A weighing screen on a whole test station: both bridges reading, and fakes
// for the device link, the records and the windows.
struct EcraTeste
{
    explicit EcraTeste(int nivel = 4) : ecra(*t.estacao), registos(ecra)
    {
        prepararEstacao(t, nivel);
        estacao().Def.PesagemMinima = {400, 400};
        for (EstadoBascula& b : dispositivos.estados)
            b.ErroIndicador = false;
        PartesEcra partes;
        dispositivos.ligar(partes);
        registos.ligar(partes);
        ecra.ligarPartes(partes);
        ecra.ligarJanelas(&janelas);
    }

    Estacao& estacao() { return *t.estacao; }

    // The i-th box shown, in one line: "text|style|title".
    QString caixa(int i = 0) const
    {
        const auto& c = t.mensagens.caixas.at(i);
        return c.texto + u'|' + QString::number(c.estilo) + u'|' + c.titulo;
    }

    // The operator types into a field: it takes the focus, then each character.
    void escrever(int campo, const QString& texto)
    {
        ecra.focarTxt(campo);
        for (QChar c : texto)
            ecra.campos().Teclar(campo, c.unicode());
    }

    // A weighing laid out in that mode for a plate, so the details and the
    // mode's weight fields can take the focus.
    void dispor(const QString& modo)
    {
        ecra.setTxt(1, QStringLiteral("AA-00-00"));
        ecra.setModoPesagem(modo);
        ecra.disposicao().MostrarPesagem();
    }

    void enter(int campo)
    {
        ecra.focarTxt(campo);
        ecra.campos().Teclar(campo, 13);
    }

    void sql(const QString& instrucao, const QVariantList& valores = {})
    {
        Consulta::executar(estacao().bd(), instrucao, valores);
    }

    QVariant valor(const QString& instrucao, const QVariantList& valores = {})
    {
        QSqlQuery q = Consulta::executar(estacao().bd(), instrucao, valores);
        return q.next() ? q.value(0) : QVariant();
    }

    // A first weighing waiting for its second.
    void pendente(const QString& codigo, const QString& matricula, int peso, const QString& data,
                  const QString& produto = QStringLiteral("P01"))
    {
        sql(QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", \"Código da viatura\", Viatura, "
                           "\"Código do produto\", Produto, \"Observações\", \"Peso á entrada\", \"Báscula de entrada\", "
                           "\"Data de entrada\", \"Hora de entrada\") VALUES ('P', ?, ?, ?, 'Areia', 'obs', ?, 'B2', ?, '23:59')"),
            {codigo, matricula, produto, peso, data});
    }

    void viatura(const QString& codigo, const QString& matricula, const QVariant& tara, const QVariant& data)
    {
        sql(QStringLiteral("INSERT INTO Viaturas (\"Código da viatura\", Viatura, \"Código da entidade\", Entidade, "
                           "\"Peso de tara\", Data) VALUES (?, ?, 'C1', 'Cliente Um', ?, ?)"),
            {codigo, matricula, tara, data});
    }

    EstacaoTeste t;
    DispositivosFalsos dispositivos;
    JanelasFalsas janelas;
    EcraPesagem ecra;
    RegistosFalsos registos;
};

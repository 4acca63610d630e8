#include "startup/ModGlobalIni.h"

#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "platform/ficheiros/FicheiroPerfil.h"

#include <QDir>

namespace ModGlobal {

namespace {
QString textoBool(bool v)
{
    return v ? QStringLiteral("True") : QStringLiteral("False");
}
}  // namespace

QString NaPastaPrograma(const QString& pastaPrograma, const QString& nome)
{
    return QDir(pastaPrograma).filePath(nome);
}

bool LerIniBool(const FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, bool Defeito)
{
    const QString valor = ini.ler(Seccao, Chave, textoBool(Defeito));
    if (valor == QLatin1String("True"))
        return true;
    if (valor == QLatin1String("False"))
        return false;
    return Defeito;
}

qint16 LerIniInt(const FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, qint16 Defeito)
{
    const QString valor = ini.ler(Seccao, Chave, QString::number(Defeito));
    return valor.isEmpty() ? 0 : Conversoes::CInt(Conversoes::Val(valor));
}

qint32 LerIniLong(const FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, qint32 Defeito)
{
    const QString valor = ini.ler(Seccao, Chave, QString::number(Defeito));
    return valor.isEmpty() ? 0 : Conversoes::CLng(Conversoes::Val(valor));
}

QString LerIniTexto(const FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, const QString& Defeito)
{
    return ini.ler(Seccao, Chave, Defeito);
}

bool GravarIniBool(FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, bool Valor)
{
    return ini.escrever(Seccao, Chave, textoBool(Valor));
}

bool GravarIniInt(FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, qint16 Valor)
{
    return ini.escrever(Seccao, Chave, QString::number(Valor));
}

bool GravarIniLong(FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, qint32 Valor)
{
    return ini.escrever(Seccao, Chave, QString::number(Valor));
}

bool GravarIniTexto(FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, const QString& Valor)
{
    return ini.escrever(Seccao, Chave, Valor);
}

namespace {

// Reads keys one by one; a key that fails leaves its value as it was.
class Leitor
{
public:
    Leitor(const FicheiroPerfil& ini, QStringList& falhas) : m_ini(ini), m_falhas(falhas) {}

    template <typename Ler> bool tentar(const QString& seccao, const QString& chave, Ler ler)
    {
        try {
            ler();
            return true;
        } catch (const Erro&) {
            m_falhas << seccao + u'/' + chave;
            return false;
        }
    }

    void texto(const QString& s, const QString& k, QString& alvo, const QString& defeito)
    {
        tentar(s, k, [&] { alvo = LerIniTexto(m_ini, s, k, defeito); });
    }
    void booleano(const QString& s, const QString& k, bool& alvo, bool defeito)
    {
        tentar(s, k, [&] { alvo = LerIniBool(m_ini, s, k, defeito); });
    }
    // A number that does not fit its type takes the key's default, so one bad
    // value neither stops the station nor leaves a bridge with a 0 interval or capacity.
    bool inteiro(const QString& s, const QString& k, qint16& alvo, qint16 defeito)
    {
        if (tentar(s, k, [&] { alvo = LerIniInt(m_ini, s, k, defeito); }))
            return true;
        alvo = defeito;
        return false;
    }
    void longo(const QString& s, const QString& k, qint32& alvo, qint32 defeito)
    {
        if (!tentar(s, k, [&] { alvo = LerIniLong(m_ini, s, k, defeito); }))
            alvo = defeito;
    }

private:
    const FicheiroPerfil& m_ini;
    QStringList& m_falhas;
};

}  // namespace

QStringList LerDefinicoes(const FicheiroPerfil& ini, const QString& pastaPrograma, Definicoes& d)
{
    QStringList falhas;
    Leitor l(ini, falhas);
    const QString caminhoBd = NaPastaPrograma(pastaPrograma, NomeBaseDados);
    const QString chaveLocal = QStringLiteral("Localizacao");
    l.texto(Seccoes::BaseDados, chaveLocal, d.BaseDados, caminhoBd);
    l.texto(Seccoes::BaseDadosBackup, chaveLocal, d.BaseDadosBackup, caminhoBd);
    l.texto(Seccoes::FichInterface, chaveLocal, d.FichInterface, pastaPrograma);

    for (int b = 0; b < 2; ++b) {
        const QString ind = Seccoes::Indicador(b);
        l.texto(ind, QStringLiteral("EndereçoIP"), d.EnderecoIP[b], d.EnderecoIP[b]);
        l.booleano(ind, QStringLiteral("ComunicaçãoIP"), d.ComunicacaoIP[b], d.ComunicacaoIP[b]);
        l.booleano(ind, QStringLiteral("Ligado"), d.IndLigado[b], b == 0);
        l.texto(ind, QStringLiteral("Indicador"), d.IndModelo[b], QStringLiteral("Avery Weigh-Tronix"));
        l.inteiro(ind, QStringLiteral("Porta"), d.IndPorta[b], qint16(b + 1));
        l.inteiro(ind, QStringLiteral("Handshacking"), d.IndHandshaking[b], 0);
        l.texto(ind, QStringLiteral("Configuracao"), d.IndConfiguracao[b], QStringLiteral("9600,n,8,1"));
        l.inteiro(ind, QStringLiteral("Divisao"), d.IndDivisao[b], 20);
        // The minimum weight is a 16-bit value: a division above 1638 overflows
        // it, and it then stays as it was.
        l.tentar(ind, QStringLiteral("Divisao"),
                 [&] { d.PesagemMinima[b] = Conversoes::CInt(double(d.IndDivisao[b]) * 20); });
        l.longo(ind, QStringLiteral("CapacidadeMaxima"), d.CapacidadeMaxima[b], 60000);
        l.longo(ind, QStringLiteral("CorreccaoZero"), d.CorreccaoZero[b], 0);
        l.booleano(ind, QStringLiteral("ZeroAutomatico"), d.ZeroAutomatico[b], true);
        l.inteiro(ind, QStringLiteral("CiclosZero"), d.CiclosZero[b], 25);
        l.inteiro(ind, QStringLiteral("Temporizacao"), d.IndTemporizacao[b], 250);

        const QString lp = Seccoes::LeitorPrincipal(b);
        l.booleano(lp, QStringLiteral("Ligado"), d.LPLigado[b], false);
        l.inteiro(lp, QStringLiteral("Porta"), d.LPPorta[b], qint16(3 + b));
        l.inteiro(lp, QStringLiteral("Handshacking"), d.LPHandshaking[b], 0);
        l.texto(lp, QStringLiteral("Configuracao"), d.LPConfiguracao[b], QStringLiteral("9600,n,8,1"));
        l.inteiro(lp, QStringLiteral("Temporizacao"), d.LPTemporizacao[b], 50);

        const QString ls = Seccoes::LeitorSecundario(b);
        l.booleano(ls, QStringLiteral("Ligado"), d.LSLigado[b], false);
        l.inteiro(ls, QStringLiteral("Porta"), d.LSPorta[b], qint16(5 + b));
        l.inteiro(ls, QStringLiteral("Handshacking"), d.LSHandshaking[b], 0);
        l.texto(ls, QStringLiteral("Configuracao"), d.LSConfiguracao[b], QStringLiteral("9600,n,8,1"));
        l.inteiro(ls, QStringLiteral("Temporizacao"), d.LSTemporizacao[b], 50);
    }

    l.booleano(Seccoes::Geral, QStringLiteral("FormatViatNac"), d.FormatViatNac, true);
    l.booleano(Seccoes::Geral, QStringLiteral("DuasPesagens"), d.DuasPesagens, true);
    l.inteiro(Seccoes::LerPeso, QStringLiteral("Ciclos"), d.Ciclos, 50);
    l.inteiro(Seccoes::NrCopias, QStringLiteral("PrimeiraPesagem"), d.CopiasPrimeiraPesagem, 0);
    l.inteiro(Seccoes::NrCopias, QStringLiteral("SegundaVia"), d.CopiasSegundaVia, 1);
    l.inteiro(Seccoes::NrCopias, QStringLiteral("Entrada"), d.CopiasEntrada, 1);
    l.inteiro(Seccoes::NrCopias, QStringLiteral("Saida"), d.CopiasSaida, 1);
    l.inteiro(Seccoes::NrCopias, QStringLiteral("Talao"), d.CopiasTalao, 1);
    l.longo(Seccoes::NrCopias, QStringLiteral("UltimoDocPesagem"), d.UltimoDocPesagem, 0);
    return falhas;
}

void ChavesIni::texto(const QString& Seccao, const QString& Chave, const QString& Valor)
{
    escritas.append({Seccao, Chave, Valor});
}

void ChavesIni::booleano(const QString& Seccao, const QString& Chave, bool Valor)
{
    texto(Seccao, Chave, textoBool(Valor));
}

void ChavesIni::numero(const QString& Seccao, const QString& Chave, qint32 Valor)
{
    texto(Seccao, Chave, QString::number(Valor));
}

int ValoresPorDefeito(FicheiroPerfil& ini, const QString& pastaPrograma, Definicoes& d)
{
    ChavesIni chaves;
    const QString chaveLocal = QStringLiteral("Localizacao");

    d.BaseDados = NaPastaPrograma(pastaPrograma, NomeBaseDados);
    chaves.texto(Seccoes::BaseDados, chaveLocal, d.BaseDados);
    chaves.texto(Seccoes::Relatorios, chaveLocal, pastaPrograma);

    for (int b = 0; b < 2; ++b) {
        d.EnderecoIP[b] = EnderecoIPFabrica[b];
        d.IndLigado[b] = b == 0;
        d.IndModelo[b] = QStringLiteral("Avery Weigh-Tronix");
        d.IndPorta[b] = qint16(b + 1);
        d.IndHandshaking[b] = 0;
        d.IndConfiguracao[b] = QStringLiteral("9600,n,8,1");
        d.IndDivisao[b] = 20;
        d.PesagemMinima[b] = d.IndDivisao[b] * 20;
        d.CapacidadeMaxima[b] = 60000;
        d.CorreccaoZero[b] = 0;
        d.ZeroAutomatico[b] = true;
        d.CiclosZero[b] = 25;
        d.IndTemporizacao[b] = 250;

        const QString ind = Seccoes::Indicador(b);
        chaves.texto(ind, QStringLiteral("EndereçoIP"), d.EnderecoIP[b]);
        chaves.booleano(ind, QStringLiteral("Ligado"), d.IndLigado[b]);
        chaves.texto(ind, QStringLiteral("Indicador"), d.IndModelo[b]);
        chaves.numero(ind, QStringLiteral("Porta"), d.IndPorta[b]);
        chaves.numero(ind, QStringLiteral("Handshacking"), d.IndHandshaking[b]);
        chaves.texto(ind, QStringLiteral("Configuracao"), d.IndConfiguracao[b]);
        chaves.numero(ind, QStringLiteral("Divisao"), d.IndDivisao[b]);
        chaves.numero(ind, QStringLiteral("CapacidadeMaxima"), d.CapacidadeMaxima[b]);
        chaves.numero(ind, QStringLiteral("CorreccaoZero"), d.CorreccaoZero[b]);
        chaves.booleano(ind, QStringLiteral("ZeroAutomatico"), d.ZeroAutomatico[b]);
        chaves.numero(ind, QStringLiteral("CiclosZero"), d.CiclosZero[b]);
        chaves.numero(ind, QStringLiteral("Temporizacao"), d.IndTemporizacao[b]);
    }

    struct Leitor
    {
        QString seccao;
        bool& ligado;
        qint16& porta;
        qint16& handshaking;
        QString& configuracao;
        qint16& temporizacao;
        qint16 portaFabrica;
    };
    const Leitor leitores[] = {
        {Seccoes::LeitorPrincipal(0), d.LPLigado[0], d.LPPorta[0], d.LPHandshaking[0], d.LPConfiguracao[0],
         d.LPTemporizacao[0], 3},
        {Seccoes::LeitorPrincipal(1), d.LPLigado[1], d.LPPorta[1], d.LPHandshaking[1], d.LPConfiguracao[1],
         d.LPTemporizacao[1], 4},
        {Seccoes::LeitorSecundario(0), d.LSLigado[0], d.LSPorta[0], d.LSHandshaking[0], d.LSConfiguracao[0],
         d.LSTemporizacao[0], 5},
        {Seccoes::LeitorSecundario(1), d.LSLigado[1], d.LSPorta[1], d.LSHandshaking[1], d.LSConfiguracao[1],
         d.LSTemporizacao[1], 6},
    };
    for (const Leitor& l : leitores) {
        l.ligado = false;
        l.porta = l.portaFabrica;
        l.handshaking = 0;
        l.configuracao = QStringLiteral("9600,n,8,1");
        l.temporizacao = 50;
        chaves.booleano(l.seccao, QStringLiteral("Ligado"), l.ligado);
        chaves.numero(l.seccao, QStringLiteral("Porta"), l.porta);
        chaves.numero(l.seccao, QStringLiteral("Handshacking"), l.handshaking);
        chaves.texto(l.seccao, QStringLiteral("Configuracao"), l.configuracao);
        chaves.numero(l.seccao, QStringLiteral("Temporizacao"), l.temporizacao);
    }

    d.FormatViatNac = true;
    chaves.booleano(Seccoes::Geral, QStringLiteral("FormatViatNac"), d.FormatViatNac);
    d.DuasPesagens = true;
    chaves.booleano(Seccoes::Geral, QStringLiteral("DuasPesagens"), d.DuasPesagens);

    d.Ciclos = 50;
    chaves.numero(Seccoes::LerPeso, QStringLiteral("Ciclos"), d.Ciclos);

    d.CopiasPrimeiraPesagem = 0;
    d.CopiasSegundaVia = d.CopiasEntrada = d.CopiasSaida = d.CopiasTalao = 1;
    chaves.numero(Seccoes::NrCopias, QStringLiteral("PrimeiraPesagem"), d.CopiasPrimeiraPesagem);
    chaves.numero(Seccoes::NrCopias, QStringLiteral("SegundaVia"), d.CopiasSegundaVia);
    chaves.numero(Seccoes::NrCopias, QStringLiteral("Entrada"), d.CopiasEntrada);
    chaves.numero(Seccoes::NrCopias, QStringLiteral("Saida"), d.CopiasSaida);
    chaves.numero(Seccoes::NrCopias, QStringLiteral("Talao"), d.CopiasTalao);
    return ini.escrever(chaves.escritas) ? 0 : int(chaves.escritas.size());
}

}  // namespace ModGlobal

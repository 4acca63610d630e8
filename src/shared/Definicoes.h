#pragma once

#include <QString>
#include <array>

// The settings record: every value of the settings file, read once at start.
// Per-bridge values are arrays indexed 0 for B1 and 1 for B2. Every value
// starts empty, 0 or False, which is what a value that failed to read keeps.
template <typename T> using PorBascula = std::array<T, 2>;

struct Definicoes
{
    // Paths
    QString BaseDados;        // [BaseDados] Localizacao
    QString BaseDadosBackup;  // [BaseDadosBackup] Localizacao
    QString FichInterface;    // [FichInterface] Localizacao

    // Weight indicator of each bridge: [IndicadorB1], [IndicadorB2]
    PorBascula<QString> EnderecoIP{};       // EndereçoIP
    PorBascula<bool> ComunicacaoIP{};       // ComunicaçãoIP: the indicator is on TCP
    PorBascula<bool> IndLigado{};           // Ligado
    PorBascula<QString> IndModelo{};        // Indicador
    PorBascula<qint16> IndPorta{};          // Porta
    PorBascula<qint16> IndHandshaking{};    // Handshacking
    PorBascula<QString> IndConfiguracao{};  // Configuracao, such as "9600,n,8,1"
    PorBascula<qint16> IndDivisao{};        // Divisao, kg
    PorBascula<qint16> PesagemMinima{};     // IndDivisao × 20, no key of its own
    PorBascula<qint32> CapacidadeMaxima{};  // kg
    PorBascula<qint32> CorreccaoZero{};     // kept and written, used by nothing
    PorBascula<bool> ZeroAutomatico{};
    PorBascula<qint16> CiclosZero{};       // ticks
    PorBascula<qint16> IndTemporizacao{};  // Temporizacao: the bridge timer's interval, ms

    // Principal card reader: [LeitorPrincipalB1], [LeitorPrincipalB2]
    PorBascula<bool> LPLigado{};
    PorBascula<qint16> LPPorta{};
    PorBascula<qint16> LPHandshaking{};
    PorBascula<QString> LPConfiguracao{};
    PorBascula<qint16> LPTemporizacao{};  // ticks without data before a poll

    // Secondary card reader: [LeitorSecundarioB1], [LeitorSecundarioB2]
    PorBascula<bool> LSLigado{};
    PorBascula<qint16> LSPorta{};
    PorBascula<qint16> LSHandshaking{};
    PorBascula<QString> LSConfiguracao{};
    PorBascula<qint16> LSTemporizacao{};

    // General
    bool FormatViatNac = false;       // [Geral] FormatViatNac
    bool DuasPesagens = false;        // [Geral] DuasPesagens
    bool OperadorAutomatico = false;  // [Geral] OperadorAutomatico, not read at start
    qint16 Ciclos = 0;                // [LerPeso] Ciclos, ticks

    // Copies: [NrCopias]
    qint16 CopiasPrimeiraPesagem = 0;  // PrimeiraPesagem
    qint16 CopiasSegundaVia = 0;       // SegundaVia
    qint16 CopiasEntrada = 0;          // Entrada: kind 'E'
    qint16 CopiasSaida = 0;            // Saida: kind 'G'
    qint16 CopiasTalao = 0;            // Talao: kind 'T'
    qint32 UltimoDocPesagem = 0;       // UltimoDocPesagem: the weighing printed last

    bool operator==(const Definicoes&) const = default;
};

namespace Seccoes {
inline const QString BaseDados = QStringLiteral("BaseDados");
inline const QString BaseDadosBackup = QStringLiteral("BaseDadosBackup");
inline const QString FichInterface = QStringLiteral("FichInterface");
inline const QString Relatorios = QStringLiteral("Relatorios");
inline const QString Geral = QStringLiteral("Geral");
inline const QString LerPeso = QStringLiteral("LerPeso");
inline const QString NrCopias = QStringLiteral("NrCopias");
inline const QString Acesso = QStringLiteral("Acesso");
QString Indicador(int bascula);         // "IndicadorB1" / "IndicadorB2"
QString LeitorPrincipal(int bascula);   // "LeitorPrincipalB1" / ...
QString LeitorSecundario(int bascula);  // "LeitorSecundarioB1" / ...
}  // namespace Seccoes

// The preset network address of each bridge's indicator, on the site's private
// network; written by the factory defaults and preset in the TCP link.
inline const PorBascula<QString> EnderecoIPFabrica = {QStringLiteral("192.168.1.201"), QStringLiteral("192.168.1.202")};

// The settings file's name, in the program's folder.
inline const QString NomeFicheiroDefinicoes = QStringLiteral("Lorvane.ini");

// The database's file name, in the program's folder by default.
inline const QString NomeBaseDados = QStringLiteral("Pesagem.mdb");

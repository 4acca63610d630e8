#pragma once

#include "platform/ficheiros/FicheiroPerfil.h"
#include "platform/LigacaoBd.h"
#include "shared/Definicoes.h"

#include <QSqlDatabase>
#include <QString>
#include <memory>

class ServicoMensagens;
class Relogio;
class ServicoSistema;
class ImpressoraRelatorios;

// Who is logged in, and the titles that tell a window what to show.
struct EstadoAcesso
{
    QString NomeOperador;
    quint8 NivelAcesso = 0;       // 0 before a login, 1 to 4, 5 in the supervisor mode
    quint8 TentativasAcesso = 0;  // failed logins since start or the last success
    QString TituloTabela;         // what the table editor shows
    QString TituloMapa;           // what the statistics window shows
    QString TituloMenu;           // what the look-up list shows
};

// One station: its folder and settings, the login state, the open databases
// and the services it uses. Every window gets it; nothing of a station lives
// in a global, so a test can build a whole station in a temporary folder.
class Estacao
{
public:
    Estacao(QString pastaPrograma, ServicoMensagens& mensagens, Relogio& relogio, ServicoSistema& sistema);
    ~Estacao();

    const QString& PastaPrograma() const { return m_pasta; }
    QString naPastaPrograma(const QString& nome) const;

    // Lorvane.ini in the program's folder.
    FicheiroPerfil& Ini() { return m_ini; }
    const FicheiroPerfil& Ini() const { return m_ini; }

    Definicoes Def;
    EstadoAcesso Acesso;

    std::unique_ptr<LigacaoBd> Bd;        // the main weighings database
    std::unique_ptr<LigacaoBd> BdBackup;  // the backup database, when one is open

    qint32 UltimaPesagem = 0;  // the row stored last since the program started

    ServicoMensagens& mensagens;
    Relogio& relogio;
    ServicoSistema& sistema;
    ImpressoraRelatorios* impressora = nullptr;  // the one report printer, once made

    QSqlDatabase bd() const { return Bd->db(); }
    bool temBackup() const { return BdBackup != nullptr; }
    QSqlDatabase bdBackup() const { return BdBackup->db(); }

private:
    QString m_pasta;
    FicheiroPerfil m_ini;
};

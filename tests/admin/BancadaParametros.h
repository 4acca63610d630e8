#pragma once

#include "admin/LogicaParametros.h"
#include "data/Consulta.h"
#include "platform/ficheiros/FicheiroPerfil.h"
#include "startup/ModGlobalIni.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// A station whose settings come from the given settings file (none when
// null), its database open, and the parameters' logic loaded over it with a
// scripted file picker and a count of the ports closed.
struct BancadaParametros
{
    explicit BancadaParametros(const QByteArray& ini = {})
    {
        if (!ini.isNull())
            t.escreverIni(ini);
        t.abrirBaseDados();
        ModGlobal::LerDefinicoes(t.estacao->Ini(), t.pasta(), t.estacao->Def);
        logica = std::make_unique<LogicaParametros>(
            *t.estacao,
            [this](const LogicaParametros::PedidoFicheiro& p) {
                pedidos << p;
                return escolhas.isEmpty() ? std::nullopt : escolhas.takeFirst();
            },
            [this] { ++portasFechadas; });
        logica->Form_Load();
    }

    Definicoes& def() { return t.estacao->Def; }
    LogicaParametros::Controlos& c() { return logica->c; }
    QString ini() const { return t.caminho(QStringLiteral("Lorvane.ini")); }
    QByteArray bytes() const { return lerFicheiro(ini()); }

    // The settings file read back as the next start reads it.
    Definicoes relido() const
    {
        Definicoes d;
        ModGlobal::LerDefinicoes(FicheiroPerfil(ini()), t.pasta(), d);
        return d;
    }

    QVariant empresa(const QString& campo)
    {
        QSqlQuery q = Consulta::executar(t.estacao->bd(),
                                         QStringLiteral("SELECT \"%1\" FROM Empresas WHERE Empresa = 1").arg(campo));
        return q.next() ? q.value(0) : QVariant();
    }

    // A settings file padded with comment lines past a limit on the size of
    // the files this process may write that lies above the station's
    // database: the database can still be written, the settings file cannot.
    static qint64 limiteEntreBaseDadosEIni()
    {
        static const qint64 tamanhoBaseDados = QFileInfo(EstacaoTeste().caminho(QStringLiteral("Pesagem.mdb"))).size();
        return tamanhoBaseDados + 64 * 1024;
    }
    static QByteArray maiorQueBaseDados(QByteArray ini)
    {
        while (ini.size() < limiteEntreBaseDadosEIni() + 64 * 1024)
            ini += "; " + QByteArray(100, '-') + "\r\n";
        return ini;
    }

    // Everything in a folder, hidden files included.
    static QStringList conteudo(const QString& pasta)
    {
        return QDir(pasta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    EstacaoTeste t;
    QList<std::optional<QString>> escolhas;
    QList<LogicaParametros::PedidoFicheiro> pedidos;
    int portasFechadas = 0;
    std::unique_ptr<LogicaParametros> logica;
};

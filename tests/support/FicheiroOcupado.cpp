#include "support/FicheiroOcupado.h"

#include <QFile>
#include <sqlite3.h>

FicheiroOcupado::FicheiroOcupado(const QString& ficheiro, const QByteArray& depoisDe)
    : m_fim([this, depoisDe](sqlite3_stmt* instrucao) {
          const char* sql = sqlite3_sql(instrucao);
          if (!m_ocupado && sql && QByteArray(sql).startsWith(depoisDe))
              m_ocupado = sqlite3_exec(m_outro, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
      })
{
    sqlite3_open_v2(QFile::encodeName(ficheiro).constData(), &m_outro, SQLITE_OPEN_READWRITE, nullptr);
}

FicheiroOcupado::~FicheiroOcupado()
{
    sqlite3_exec(m_outro, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(m_outro);
}

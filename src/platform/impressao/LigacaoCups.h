#pragma once

#include "platform/impressao/LugaresImpressao.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <utility>

class PrazoImpressao;
typedef struct _http_s http_t;
typedef struct _ipp_s ipp_t;

// An answer of the print server, freed when it goes.
class RespostaIpp
{
public:
    explicit RespostaIpp(ipp_t* ipp = nullptr) : m_ipp(ipp) {}
    ~RespostaIpp();
    RespostaIpp(RespostaIpp&& outra) noexcept : m_ipp(std::exchange(outra.m_ipp, nullptr)) {}
    RespostaIpp& operator=(RespostaIpp&& outra) noexcept
    {
        std::swap(m_ipp, outra.m_ipp);
        return *this;
    }
    RespostaIpp(const RespostaIpp&) = delete;
    RespostaIpp& operator=(const RespostaIpp&) = delete;

    explicit operator bool() const { return m_ipp != nullptr; }
    // The request's IPP status (ipp_status_t).
    int estado() const;
    bool aceite() const;
    // The server's words for a status that is a failure.
    QString razao() const;
    // The first value of an attribute; "" or 0 when it has none.
    QString texto(const char* atributo) const;
    int inteiro(const char* atributo) const;

private:
    ipp_t* m_ipp;
};

// One connection to a print server, named and made here (never the
// library's default one), whose every wait ends when the print's wait runs
// out or the print is given up. Made, used and closed in one thread.
class LigacaoCups
{
public:
    LigacaoCups(const ServidorCups& servidor, PrazoImpressao& prazo);
    ~LigacaoCups();
    LigacaoCups(const LigacaoCups&) = delete;
    LigacaoCups& operator=(const LigacaoCups&) = delete;

    // False when the server could not be reached (razao says why).
    bool ligada() const { return m_http != nullptr; }

    // Sends `pedido` (freed here) to the server's `recurso`, followed by what
    // `dados` writes (false when it could not: the request is abandoned),
    // and gives the answer; none when none came, and razao says why. When
    // the server asks who the user is, the request goes again: `dados`
    // writes all of it again.
    RespostaIpp pedir(ipp_t* pedido, const QByteArray& recurso, const std::function<bool(http_t*)>& dados = {});

    // Why the last call failed: the server not reached, silent past the
    // wait, the connection's own failure, or the print given up ("cancelada").
    QString razao() const { return m_razao; }

    // The URI of the queue `fila` on this server, as the server names it.
    QByteArray uriFila(const QString& fila) const;
    // The resource of the queue `fila`.
    static QByteArray recursoFila(const QString& fila);

private:
    void falhou();

    const ServidorCups m_servidor;
    PrazoImpressao& m_prazo;
    http_t* m_http = nullptr;
    QString m_razao;
};

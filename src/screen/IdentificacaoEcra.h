#pragma once

#include <QString>
#include <optional>
#include <utility>

class EcraPesagem;

// The identification of the vehicle on the screen and of its weighing mode:
// its pending first weighing, else its row of the vehicle file.
class IdentificacaoEcra
{
public:
    explicit IdentificacaoEcra(EcraPesagem& ecra) : m_ecra(ecra) {}

    void IdentificarStatusPesagem();
    bool ConsultarPrimeiraPesagem();
    bool ConsultarViatura();

    // The key a vehicle is looked up by: the code's field and text when a code
    // is typed, else the plate's; nothing when both are blank.
    std::optional<std::pair<QString, QString>> chaveViatura() const;

private:
    EcraPesagem& m_ecra;
};

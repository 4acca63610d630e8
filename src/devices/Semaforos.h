#pragma once

struct ContextoDispositivos;

// The traffic lights of both bridges: the decision run on every tick of
// either bridge, and the operator's manual command through the "Semá&foros"
// menu and the light check boxes.
class Semaforos
{
public:
    // Decisions between two writes of an unchanged command.
    static constexpr int CiclosReenvio = 26;

    explicit Semaforos(ContextoDispositivos& contexto);

    // B1, then B2.
    void ControlarSemaforos();

    // Item 0 takes or gives back manual command, item 2 sets the colour; both
    // by the caption the last decision wrote.
    void mnuSmf_Click(int bascula, int item);

    // The boxes' clicks, by the box's new state.
    void manual_Click(int bascula, bool principal, bool marcado);    // chkP / chkS
    void vermelho_Click(int bascula, bool principal, bool marcado);  // chkPE / chkSE
    void verde_Click(int bascula, bool principal, bool marcado);     // chkPV / chkSV

private:
    // False when a write was refused: the decision ends there.
    bool decidir(int bascula);

    ContextoDispositivos& m_c;
};

#include "devices/ProtocoloLeitor.h"

namespace ProtocoloLeitor {

Exame examinar(const QByteArray& buffer)
{
    Exame r;
    const qsizetype p = buffer.indexOf('R');
    if (p >= 0 && buffer.size() >= p + 24) {
        r.codigo = QString::fromLatin1(buffer.mid(p + 15, 8));
        return r;
    }
    // The frame test comes first: a CR that completes a frame does not spoil it.
    r.descartar = buffer.contains('\r') || buffer.size() > LimiteBuffer;
    return r;
}

}  // namespace ProtocoloLeitor

#include "window/click_slots.h"

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QMetaMethod>
#include <QWidget>

namespace {

constexpr char kSlotPrefix[] = "on_";
constexpr char kSlotSuffix[] = "_clicked()";
constexpr char kClicked[] = "clicked()";

// The object name each click slot waits for, with the slot's index.
QHash<QString, int> clickSlotsByName(const QMetaObject &meta)
{
    QHash<QString, int> clickSlots;
    const int prefixLength = int(sizeof kSlotPrefix) - 1;
    const int affixLength = prefixLength + int(sizeof kSlotSuffix) - 1;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        const QByteArray signature = method.methodSignature();
        if (method.methodType() == QMetaMethod::Slot && signature.size() > affixLength
            && signature.startsWith(kSlotPrefix) && signature.endsWith(kSlotSuffix))
            clickSlots.insert(QString::fromLatin1(signature.mid(prefixLength, signature.size() - affixLength)),
                              i);
    }
    return clickSlots;
}

} // namespace

void connectClickSlots(QWidget &window)
{
    const QMetaObject &meta = *window.metaObject();
    const QHash<QString, int> clickSlots = clickSlotsByName(meta);
    // Keyed by the slot's index, so that they are connected in its order;
    // the first object of a name that can be clicked is the one, as in the
    // by-name search, which walks the objects in the order they were made.
    QMap<int, QObject *> senders;
    for (QObject *object : window.findChildren<QObject *>()) {
        const auto slot = clickSlots.constFind(object->objectName());
        if (slot != clickSlots.cend() && !senders.contains(*slot)
            && object->metaObject()->indexOfSignal(kClicked) >= 0)
            senders.insert(*slot, object);
    }
    for (auto sender = senders.cbegin(); sender != senders.cend(); ++sender) {
        const QMetaObject &senderMeta = *sender.value()->metaObject();
        QObject::connect(sender.value(), senderMeta.method(senderMeta.indexOfSignal(kClicked)), &window,
                         meta.method(sender.key()));
    }
}

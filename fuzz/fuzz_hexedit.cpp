// Drives a hexadecimal edit with a byte stream: typed characters, dead keys, caret and selection keys and text
// set from code. Typing may only ever add the accepted characters, and GetDezimal of whatever the text holds
// must equal the C library's strtoll in base 16, saturated at the 32-bit limits.
//
// Stream: an upper-case letter below is a step (with the bytes it takes); any other byte is a typed key.
//   K b        type the byte b (also a letter named below)
//   I b        compose the Windows-1252 character b with a dead key
//   J i / Q i  type / compose a character outside Windows-1252
//   and the steps shared with the other edits (FuzzSupport.cpp): T U H E L G S B Y Z D R X O

#include "FuzzSupport.h"
#include "Hexedit.h"
#include "MessageBox.h"

#include <QList>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <string_view>

namespace {

using fuzz::EditState;
using fuzz::Keystroke;

constexpr std::string_view kAccepted = "0123456789ABCDEFabcdef\b";

qint32 referenceDezimal(const QString &text)
{
    if (text.isEmpty())
        return 0;
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    // Characters beyond Latin-1 become '?', which ends a number as they do.
    const QByteArray bytes = text.toLatin1();
    const long long value = strtoll_l(bytes.constData(), nullptr, 16, classic);
    return qint32(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

class Session
{
public:
    Session()
    {
        QObject::connect(&m_edit, &TCustomEdit::OnKeyPress, &m_edit, [this](char &key) { m_keyPresses.append(key); });
        FUZZ_CHECK(m_edit.text().isEmpty() && m_edit.GetDezimal() == 0, QStringLiteral("a new edit is empty"));
    }

    void run(fuzz::ByteReader &input)
    {
        while (!input.atEnd()) {
            m_keyPresses.clear();
            perform(input.byte(), input);
            FUZZ_CHECK(fuzz::Boxes().calls().isEmpty(), QStringLiteral("the hexadecimal edit never explains itself"));
            const qint32 actual = m_edit.GetDezimal();
            const qint32 expected = referenceDezimal(m_edit.text());
            FUZZ_CHECK(actual == expected, QStringLiteral("GetDezimal of %1 gives %2, not %3")
                                               .arg(fuzz::StateOf(m_edit).describe())
                                               .arg(actual)
                                               .arg(expected));
        }
    }

private:
    void perform(std::uint8_t op, fuzz::ByteReader &input)
    {
        Keystroke keystroke;
        bool composed = false;
        if (fuzz::ReadKeystrokeOp(op, input, keystroke, composed)) {
            type(keystroke, composed);
            return;
        }
        if (fuzz::PerformEditOp(m_edit, op, input)) {
            FUZZ_CHECK(m_keyPresses.isEmpty(), QStringLiteral("caret keys and code are not typed characters"));
            return;
        }
        type(fuzz::KeystrokeFor(op), false);
    }

    void type(const Keystroke &keystroke, bool composed)
    {
        const EditState before = fuzz::StateOf(m_edit);
        fuzz::Step((composed ? QStringLiteral("compose ") : QStringLiteral("type ")) + fuzz::Describe(keystroke) +
                   QStringLiteral(" into ") + before.describe());
        if (composed && !fuzz::CanCompose(m_edit, keystroke))
            return;
        if (composed)
            fuzz::Compose(m_edit, keystroke);
        else
            fuzz::Type(m_edit, keystroke);
        const EditState after = fuzz::StateOf(m_edit);

        const bool accepted = keystroke.hooked && keystroke.key != 0 && kAccepted.find(keystroke.key) != kAccepted.npos;
        if (!accepted) {
            FUZZ_CHECK(after.text == before.text, QStringLiteral("a rejected key left %1").arg(after.describe()));
            FUZZ_CHECK(!keystroke.hooked || after == before,
                       QStringLiteral("a rejected key moved the caret: %1").arg(after.describe()));
            FUZZ_CHECK(m_keyPresses.isEmpty(), QStringLiteral("OnKeyPress saw a rejected key"));
            return;
        }
        const QString expected = keystroke.key == '\b' ? fuzz::TextAfterBackspace(before, m_edit.isReadOnly())
                                                       : fuzz::TextAfterInsert(before, keystroke.typed, composed,
                                                                               m_edit.isReadOnly(), m_edit.MaxLength());
        FUZZ_CHECK(after.text == expected, QStringLiteral("an accepted key left %1").arg(after.describe()));
        FUZZ_CHECK(m_keyPresses == QList<char>{keystroke.key}, QStringLiteral("OnKeyPress missed an accepted key"));
    }

    THexEdit m_edit;
    QList<char> m_keyPresses;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::StartQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::NewInput();
    fuzz::ByteReader input(data, size);
    Session session;
    session.run(input);
    return 0;
}

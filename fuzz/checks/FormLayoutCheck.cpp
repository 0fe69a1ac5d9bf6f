#include "ByteReader.h"
#include "FuzzChecks.h"
#include "PropertyViolation.h"

#include "config/Kivo_CFGManager.h"
#include "form/FormControls.h"
#include "form/FormLayoutIO.h"
#include "form/LayoutGeometry.h"
#include "platform/Err.h"
#include "platform/config/FreeConfigTree.h"

#include <QRect>

#include <cmath>

namespace FuzzChecks {

namespace {

using LayoutGeometry::StoredTwipsLimit;

// Factors a display may have; 0 is "not set".
constexpr double Factors[] = {0, 1, 1.25, 1.5, 2, 2.5, 3, 4};
// What the form measures at its designed size: the angiography row's label
// and box, and the status line's top (twips).
constexpr int AngioLabelHeight = 255;
constexpr int AngioBoxHeight = 855;
constexpr int StatusTop = 9000;
constexpr double TwipsPerPixel = 15;

const char *const ElementKeys[] = {"top",     "left",       "width", "height",
                                   "caption", "max_length", "type",  "table"};
const char *const FormKeys[] = {"top", "left", "width", "height", "type", "table"};

// Writes the key tree the input describes below the user's and the default
// layout path: entries of one key each, with an integer, a number written as
// text, any text or no value at all, in set numbers mostly of the form's
// range and now and then of any size.
class LayoutGenerator
{
public:
    explicit LayoutGenerator(ByteReader &input) : m_input(input) {}

    void writeInto(FreeConfigTree &store)
    {
        while (!m_input.atEnd()) {
            const uint8_t entry = m_input.byte();
            const QString layout =
                QLatin1String((entry & 0x80) ? Kivo_CFGManager::DEFAULT_LAYOUT_PATH
                                             : Kivo_CFGManager::LAYOUT_PATH);
            const QString key = layout + QLatin1Char('\\') + keyPath(entry & 0x0F);
            try {
                writeValue(store, key, (entry >> 4) & 0x07);
            } catch (const Err &) {
                // A key name the store refuses: the tree stays without it.
            }
        }
    }

private:
    QString setName()
    {
        const uint8_t number = m_input.byte();
        if (number < 240)
            return QStringLiteral("set%1").arg(1 + number % 12);
        if (number < 250)
            return QStringLiteral("set%1").arg(quint32(m_input.int32()));
        return m_input.latin1(); // a key name of any kind beside the sets
    }

    QString keyPath(int what)
    {
        if (what < 8)
            return setName() + QLatin1Char('\\') +
                   QLatin1String((m_input.byte() & 1) ? "label" : "text") + QLatin1Char('\\') +
                   QLatin1String(ElementKeys[what]);
        if (what == 8)
            return setName() + QStringLiteral("\\tag");
        return QLatin1String(FormKeys[what % 6]);
    }

    void writeValue(FreeConfigTree &store, const QString &key, int form)
    {
        switch (form) {
        case 0:
        case 1:
        case 2:
            store.WriteLong(key, m_input.int32());
            break;
        case 3:
            store.WriteString(key, QString::number(m_input.int32()) + m_input.latin1());
            break;
        case 4:
            store.WriteString(key, m_input.latin1());
            break;
        case 5:
            store.WriteString(key, m_input.utf16());
            break;
        default: // the key alone
            store.WriteString(key + QStringLiteral("\\x"), QString());
            store.DeleteKey(key + QStringLiteral("\\x"));
            break;
        }
    }

    ByteReader &m_input;
};

bool sane(const LayoutRecord &entry)
{
    const auto inRange = [](qint32 value) {
        return value >= -StoredTwipsLimit && value <= StoredTwipsLimit;
    };
    return inRange(entry.top) && inRange(entry.left) && inRange(entry.width) &&
           inRange(entry.height);
}

bool same(const LayoutRecord &a, const LayoutRecord &b)
{
    return a.top == b.top && a.left == b.left && a.width == b.width && a.height == b.height &&
           a.maxLength == b.maxLength && a.caption == b.caption && a.tag == b.tag &&
           a.type == b.type && a.table == b.table;
}

// The geometry the form gives an entry stays within what a widget can take,
// and at factor 1 saving it gives back the stored entry.
void checkGeometry(const LayoutRecord &entry, int origin, double factor)
{
    const QRect designed(120, 0, 1500, 285);
    const QRect placed = LayoutGeometry::placed(designed, entry, origin, true);
    const QRect scaled = LayoutGeometry::scaled(placed, factor);
    const double bound = (2.0 * StoredTwipsLimit + std::abs(origin)) * 4 + 1;
    require(std::abs(double(scaled.left())) <= bound && std::abs(double(scaled.top())) <= bound &&
                std::abs(double(scaled.right())) <= bound &&
                std::abs(double(scaled.bottom())) <= bound,
            "a placed and scaled control stays within the sane range");
    require(placed.left() == entry.left, "a control is placed at its stored left");
    if (entry.width > 0)
        require(placed.width() == entry.width, "a control takes its stored width");
    if (LayoutGeometry::effectiveFactor(factor) == 1.0) {
        require(LayoutGeometry::storedTop(placed.top(), factor, StatusTop, origin) == entry.top,
                "at factor 1 a control's top saves as it was stored");
        if (entry.width > 0)
            require(LayoutGeometry::unscaled(placed.width(), factor) == entry.width,
                    "at factor 1 a control's width saves as it was stored");
    }
}

} // namespace

void checkFormLayout(const uint8_t *data, size_t size)
{
    ByteReader input(data, size);
    const uint8_t flags = input.byte();
    const bool useDefault = flags & 1;
    const double factor = Factors[(flags >> 1) & 7];
    FreeConfigTree store;
    LayoutGenerator(input).writeInto(store);

    Kivo_CFGManager manager;
    if (!manager.InitBeforeReadLayout(store, useDefault)) {
        // Asked for the default, the user's own layout is not what is read.
        require(!store.KeyExists(QLatin1String(Kivo_CFGManager::DEFAULT_LAYOUT_PATH)) &&
                    (useDefault || !store.KeyExists(QLatin1String(Kivo_CFGManager::LAYOUT_PATH))),
                "a stored layout is read");
        return;
    }
    const FormLayoutIO layout(manager);
    const LayoutRecord form = layout.formLayout();
    require(sane(form), "the form's stored size is brought into the sane range");
    for (const int stored : {form.width, form.height}) {
        const int pixels = LayoutGeometry::windowPixels(stored, factor, TwipsPerPixel);
        require(pixels == -1 || std::abs(pixels) <= 4 * StoredTwipsLimit / TwipsPerPixel + 1,
                "the window's size stays within the sane range");
    }

    // The sets the form reads, then every other stored one.
    const QList<int> storedSets = manager.readSetNumbers();
    for (int i = 1; i < storedSets.size(); ++i)
        require(storedSets[i - 1] < storedSets[i], "stored set numbers come once each, ascending");
    QList<int> sets;
    for (int n = 1; n <= FormControls::FieldSetCount; ++n)
        sets << n;
    for (const int n : storedSets) {
        require(n >= 1, "a stored set number counts from 1");
        if (n > FormControls::FieldSetCount)
            sets << n;
    }

    const int origin =
        LayoutGeometry::fieldAreaOrigin(AngioLabelHeight, AngioBoxHeight, useDefault, factor);
    for (const int n : sets) {
        const FieldLayout set = layout.fieldSet(n - 1);
        require(sane(set.label) && sane(set.input), "a set's stored geometry is made sane");
        require(set.input.tag == set.label.tag, "a set's input travels under its label's tag");
        require(set.label.tag == set.label.tag.toUpper(), "a set's tag is upper case");

        // What a set reads depends on its own keys only, not on the sets
        // read before it.
        Kivo_CFGManager alone;
        alone.InitBeforeReadLayout(store, useDefault);
        const FieldLayout fresh = FormLayoutIO(alone).fieldSet(n - 1);
        require(same(fresh.label, set.label) && same(fresh.input, set.input),
                "a set reads the same whatever was read before it");

        checkGeometry(set.label, origin, factor);
        checkGeometry(set.input, origin, factor);
    }
}

} // namespace FuzzChecks

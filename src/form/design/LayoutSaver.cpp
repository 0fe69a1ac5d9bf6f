#include "form/design/LayoutSaver.h"

#include "common/QV_MsgBox.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "config/Kivo_CFGManager.h"
#include "form/FieldTextBox.h"
#include "form/FormControls.h"
#include "form/FormLayoutIO.h"
#include "form/FormScrolling.h"
#include "form/FormServices.h"
#include "form/LayoutGeometry.h"
#include "form/StatusLine.h"
#include "platform/Err.h"
#include "platform/config/ConfigTransaction.h"
#include "platform/ui/Twips.h"
#include "platform/ui/TwipsGeometry.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>

using FormServices::log;

namespace {

// The wait cursor for as long as the save runs, however it ends.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

LayoutSaver::LayoutSaver(QWidget *form, FormControls &ui, StatusLine &status,
                         FormScrolling &scrolling)
    : m_form(form), m_ui(ui), m_status(status), m_scrolling(scrolling)
{
}

void LayoutSaver::SaveLayout()
{
    log(QStringLiteral("Start Saving form's layout..."));
    const WaitCursor wait;
    QString error;
    try {
        save();
    } catch (const Err &err) {
        error = QStringLiteral("%1 %2").arg(err.number()).arg(err.description());
    } catch (const std::exception &err) {
        error = QStringLiteral("0 ") + QString::fromLocal8Bit(err.what());
    }
    m_status.clear();
    if (error.isEmpty())
        return;
    log(QStringLiteral("Got an error when saving layout ") + error);
    // Otherwise the user would take the layout for saved.
    QV_MsgBox::ShowErrorMsg(error);
}

void LayoutSaver::save()
{
    m_status.show(QV_Resource::GetResString(ResourceIds::SAVING_LAYOUT_STATUS));
    m_scrolling.ResetScroll();

    const double factor = QV_Resource::UIFactor();
    const int width = LayoutGeometry::unscaled(
        Twips::fromPixels(m_form->width(), TwipsGeometry::twipsPerPixelX(m_form)), factor);
    const int height = LayoutGeometry::unscaled(
        Twips::fromPixels(m_form->height(), TwipsGeometry::twipsPerPixelY(m_form)), factor);
    FormLayoutIO layout(FormServices::configuration());
    if (!layout.begin(width, height)) {
        QV_MsgBox::ShowErrorMsg(QV_Resource::GetResString(ResourceIds::LAYOUT_NOT_SAVED));
        return;
    }

    m_status.show(QV_Resource::GetResString(ResourceIds::WRITING_FIELDS_STATUS));
    const int origin = TwipsGeometry::geometry(m_ui.lblAngio).height() +
                       TwipsGeometry::geometry(m_ui.txtCodeAngio).height();
    for (int i = 0; i < m_ui.fieldSets.size(); ++i)
        layout.writeFieldSet(i, storedSet(m_ui.fieldSets[i], origin));

    // The layout and its captions are one change: a failure keeps both as
    // they were, and the store syncs once.
    ConfigTransaction change = FormServices::configuration().transaction();
    layout.commit();
    if (FormServices::configuration().UpdateAETitles() == 1) {
        m_status.show(QV_Resource::GetResString(ResourceIds::UPDATING_CAPTIONS_STATUS));
        log(QStringLiteral("Updating AE cfg tree with the new captions"));
        UpdateAECoulmnCaptions();
    }
    change.commit();
    log(QStringLiteral("Finish Save layout of the form "));
}

FieldLayout LayoutSaver::storedSet(const FieldSet &set, int origin) const
{
    const double factor = QV_Resource::UIFactor();
    const int statusTop = TwipsGeometry::geometry(m_ui.lblInfo).top();
    auto place = [&](LayoutRecord &record, const QWidget *control) {
        const QRect rect = TwipsGeometry::geometry(control);
        record.top = LayoutGeometry::storedTop(rect.top(), factor, statusTop, origin);
        record.left = LayoutGeometry::unscaled(rect.left(), factor);
        record.width = LayoutGeometry::unscaled(rect.width(), factor);
        record.height = LayoutGeometry::unscaled(rect.height(), factor);
    };
    FieldLayout stored;
    place(stored.label, set.label);
    stored.label.caption = set.label->text();
    stored.label.tag = set.tag;
    // Which input is shown decides what is stored, whatever the kind says.
    if (!set.text->isHidden()) {
        place(stored.input, set.text);
        stored.input.maxLength = set.maxLength();
        stored.input.type = QStringLiteral("TEXT");
    } else {
        place(stored.input, set.combo);
        stored.input.type = QStringLiteral("DROP DOWN");
        stored.input.table = set.table;
    }
    return stored;
}

void LayoutSaver::UpdateAECoulmnCaptions()
{
    for (const FieldSet &set : m_ui.fieldSets) {
        const QString caption = set.label->text();
        if (set.tag.isEmpty() || caption.isEmpty())
            continue;
        QString typeCaption = caption;
        typeCaption.replace(QLatin1Char(':'), QLatin1Char(' '));
        log(QStringLiteral("Calling CFG manager to update AE caption of ") + set.tag +
            QStringLiteral("  ") + typeCaption);
        FormServices::configuration().UpdateAETagCaption(set.tag, typeCaption);
    }
}

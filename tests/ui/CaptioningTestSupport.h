#pragma once

// What the window tests of the captioning dialogs share: a program folder with the language
// packs, a context with the English pack and a fresh catalogue, and control lookups by name.
#include "WindowTestSupport.h"

#include "core/catalogue/CatalogueSchema.h"
#include "core/captioning/TemplateStore.h"
#include "platform/ProgramFolder.h"
#include "ui/AppContext.h"

#include <QTest>
#include <QWidget>

namespace zelvarion::test {

struct CaptioningContext
{
    ProgramFolderFixture folder; // first: the context reads its paths
    RecordingFeedback feedback;
    AppContext context;

    CaptioningContext()
    {
        context.language.load(programFolder::languageFolder(), QStringLiteral("English"));
        context.catalogue.path = folder.file(QStringLiteral("Images.db"));
        createCatalogueSchema(context.catalogue, feedback, {});
        feedback.messages.clear();
    }
    TemplateStore store() { return TemplateStore(context.catalogue, feedback); }
    QString text(InterfaceText key) const { return context.language.text(key); }
    QString message(Message key) const { return context.language.message(key); }

    // A template with the given values, ticked when inUse.
    void addTemplate(const QString &name, const TemplateValues &values = {}, bool inUse = false)
    {
        TemplateStore s = store();
        QCOMPARE(s.add(name, QStringLiteral("created")), TemplateStore::NameOutcome::Done);
        QVERIFY(s.save(name, values, QStringLiteral("saved")));
        if (inUse)
            QVERIFY(s.markInUse(name, true));
    }
};

// The control of that name; the test fails when there is none.
template <typename T>
T *control(const QWidget &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// Leaving a box, as the rules that run when the focus goes elsewhere see it.
inline void leave(QWidget *box)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
}

} // namespace zelvarion::test

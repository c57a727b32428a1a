#pragma once

#include "ComponentRegistry.h"

#include <QtUiPlugin/QDesignerCustomWidgetInterface>

// One of our widgets as Qt Designer's Widget Box shows it, made from the widget's palette registration: the
// palette page becomes the Widget Box group, the class is created through the registration.
class PaletteWidget : public QDesignerCustomWidgetInterface
{
public:
    PaletteWidget(ComponentRegistration registration, QString toolTip, QString whatsThis);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    // The palette image stored under the class name in capitals, ":/TPRINTABLEMEMO.png" for TPrintableMemo.
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget *createWidget(QWidget *parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface *core) override;
    // Names the class and a first object name only: a widget placed from the Widget Box keeps the defaults its
    // constructor sets, so a form that leaves them alone stores none of them.
    QString domXml() const override;

private:
    ComponentRegistration m_registration;
    QString m_toolTip;
    QString m_whatsThis;
    bool m_initialized = false;
};

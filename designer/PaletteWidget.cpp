#include "PaletteWidget.h"

#include <QWidget>

PaletteWidget::PaletteWidget(ComponentRegistration registration, QString toolTip, QString whatsThis)
    : m_registration(std::move(registration)), m_toolTip(std::move(toolTip)), m_whatsThis(std::move(whatsThis))
{}

QString PaletteWidget::name() const
{
    return m_registration.className();
}

QString PaletteWidget::group() const
{
    return m_registration.page;
}

QString PaletteWidget::toolTip() const
{
    return m_toolTip;
}

QString PaletteWidget::whatsThis() const
{
    return m_whatsThis;
}

QString PaletteWidget::includeFile() const
{
    return m_registration.includeFile;
}

QIcon PaletteWidget::icon() const
{
    return QIcon(QStringLiteral(":/%1.png").arg(name().toUpper()));
}

bool PaletteWidget::isContainer() const
{
    return false;
}

QWidget *PaletteWidget::createWidget(QWidget *parent)
{
    return m_registration.create(parent);
}

bool PaletteWidget::isInitialized() const
{
    return m_initialized;
}

void PaletteWidget::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

// The first object is named after the class without its leading T (numericEdit for TNumericEdit); Designer
// numbers further ones itself (numericEdit_2, ...).
QString PaletteWidget::domXml() const
{
    QString objectName = name().mid(1);
    objectName[0] = objectName[0].toLower();
    return QStringLiteral("<ui language=\"c++\">\n"
                          "    <widget class=\"%1\" name=\"%2\"/>\n"
                          "</ui>\n")
        .arg(name(), objectName);
}

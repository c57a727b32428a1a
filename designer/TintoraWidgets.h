#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <memory>
#include <vector>

class PaletteWidget;

// Qt Designer's entry to our widgets: every class that our modules' Register functions put on a palette page
// becomes a widget of the Widget Box.
class TintoraWidgets : public QObject, public QDesignerCustomWidgetCollectionInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TintoraWidgets(QObject *parent = nullptr);
    ~TintoraWidgets() override;

    QList<QDesignerCustomWidgetInterface *> customWidgets() const override;

private:
    std::vector<std::unique_ptr<PaletteWidget>> m_widgets;
};

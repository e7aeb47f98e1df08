#pragma once
// A titled group of radio buttons with an item index, as the forms use it:
// exactly one item is selected, and itemIndexChanged fires whenever the
// selection changes, whether a person or the program changed it.
#include <QGroupBox>
#include <QList>

class QButtonGroup;
class QRadioButton;

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString &title, const QStringList &items, QWidget *parent = nullptr);

    int ItemIndex() const;
    void setItemIndex(int index);
    QRadioButton *item(int index) const { return m_items.value(index); }
    int count() const { return m_items.size(); }

signals:
    void itemIndexChanged(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QButtonGroup *m_group;
    QList<QRadioButton *> m_items;
};

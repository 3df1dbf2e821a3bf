#include "ChartItem.h"

#include "GanttData_p.h"

QString ChartItem::key() const {
    return m_owner->d->c.keyText(m_key);
}

bool ChartItem::hasKey(const QString& key) const {
    const auto wanted = m_owner->d->c.existingKey(key);
    return wanted && *wanted == m_key;
}

const QString& ChartItem::rowKey() const {
    return m_row->key();
}

void ChartItem::setRowKey(const QString& rowKey) {
    m_owner->d->moveItem(this, rowKey, m_start, m_end);
}

void ChartItem::setStart(TimePoint start) {
    m_owner->d->moveItem(this, m_row->key(), start, m_end);
}

void ChartItem::setEnd(TimePoint end) {
    m_owner->d->moveItem(this, m_row->key(), m_start, end);
}

void ChartItem::setSpan(TimePoint start, TimePoint end) {
    m_owner->d->moveItem(this, m_row->key(), start, end);
}

int ChartItem::position() const {
    return m_owner->d->c.itemPositions.position(m_slot);
}

QString ChartItem::sharedText(quint32 number) const {
    return m_owner->d->c.texts.at(number);
}

quint32 ChartItem::share(const QString& text) const {
    return m_owner->d->c.texts.intern(text);
}

QString ChartItem::caption() const {
    return sharedText(m_caption);
}

QString ChartItem::text() const {
    return sharedText(m_text);
}

QString ChartItem::styleKey() const {
    return sharedText(m_styleKey);
}

QString ChartItem::seriesKey() const {
    return sharedText(m_seriesKey);
}

QString ChartItem::rareText(RareText which) const {
    return sharedText(m_owner->d->c.rareTexts(*this)[std::size_t(which)]);
}

void ChartItem::setRareText(RareText which, const QString& text) {
    if (text == rareText(which))
        return;
    m_owner->d->noteChange(*this);
    GanttContent& c = m_owner->d->c;
    GanttContent::RareTexts texts = c.rareTexts(*this);
    texts[std::size_t(which)] = share(text);
    c.setRareTexts(*this, texts);
}

QString ChartItem::picture() const {
    return rareText(RareText::Picture);
}

QString ChartItem::addOnData() const {
    return rareText(RareText::AddOnData);
}

QString ChartItem::addTag() const {
    return rareText(RareText::AddTag);
}

QString ChartItem::tag() const {
    return rareText(RareText::Tag);
}

void ChartItem::setCaption(const QString& caption) {
    if (caption == this->caption())
        return;
    m_owner->d->noteChange(*this);
    m_caption = share(caption);
}

void ChartItem::setText(const QString& text) {
    if (text == this->text())
        return;
    m_owner->d->noteChange(*this);
    m_text = share(text);
}

void ChartItem::setStyleKey(const QString& styleKey) {
    if (styleKey == this->styleKey())
        return;
    m_owner->d->noteChange(*this);
    m_styleKey = share(styleKey);
}

void ChartItem::setSeriesKey(const QString& seriesKey) {
    if (seriesKey == this->seriesKey())
        return;
    m_owner->d->noteChange(*this);
    m_owner->d->c.setSeriesKey(*this, share(seriesKey));
}

void ChartItem::setPicture(const QString& picture) {
    setRareText(RareText::Picture, picture);
}

void ChartItem::setAddOnData(const QString& addOnData) {
    setRareText(RareText::AddOnData, addOnData);
}

void ChartItem::setAddTag(const QString& addTag) {
    setRareText(RareText::AddTag, addTag);
}

void ChartItem::setTag(const QString& tag) {
    setRareText(RareText::Tag, tag);
}

void ChartItem::setMovementLock(int movementLock) {
    if (qint8(movementLock) == m_movementLock)
        return;
    m_owner->d->noteChange(*this);
    m_movementLock = qint8(movementLock);
}

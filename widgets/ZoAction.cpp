#include "ZoAction.h"

ZoAction::ZoAction(QObject* parent)
    : QAction(parent)
{
    connectOwn();
}

ZoAction::ZoAction(const QString& text, QObject* parent)
    : QAction(text, parent)
{
    connectOwn();
}

ZoAction::~ZoAction() = default;

void ZoAction::connectOwn()
{
    connect(this, &QAction::triggered, this, &ZoAction::itemTriggered);
    connect(this, &QAction::hovered, this, &ZoAction::itemHovered);
}

void ZoAction::itemTriggered()
{
    emit itemSelected(text());
}

void ZoAction::itemHovered() {}

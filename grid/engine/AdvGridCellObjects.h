// The cell objects' settings the grid owns: the look of outline nodes and sizing while typing.
#pragma once

#include "platform/framework/Component.h"
#include "platform/rtl/Persistent.h"

// FIXME: holds no node settings yet; the grid creates it, and Assign copies nothing.
class TCellNode : public TPersistent {
    DECLARE_CLASS(TCellNode, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        if (dynamic_cast<TCellNode*>(Source) == nullptr)
            TPersistent::Assign(Source);
    }
    explicit TCellNode(TComponent* /*AOwner*/) {}
};

// FIXME: holds no settings yet.
class TSizeWhileTyping : public TPersistent {
    DECLARE_CLASS(TSizeWhileTyping, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        if (dynamic_cast<TSizeWhileTyping*>(Source) == nullptr)
            TPersistent::Assign(Source);
    }
};

#pragma once
// One block of global memory (GlobalAlloc) and who frees it. The object owns
// its block: it frees it when it ends, when another block is allocated or a
// handle is written over it, unless ReleaseDontFreeMemory handed it on first.
#include <windows.h>

#include <cstddef>

class cMemory {
public:
    cMemory() = default;
    ~cMemory() { FreeMemory(); }
    cMemory(const cMemory&) = delete;
    cMemory& operator=(const cMemory&) = delete;

    // The handle held (nullptr: none).
    HGLOBAL Handle() const { return handle_; }
    // Frees the block held, then takes `h` and owns it.
    void SetHandle(HGLOBAL h);
    // The block's address, locking it on first use; nullptr without a block.
    void* Pointer();
    // The block's size in bytes (GlobalSize); 0 without a block.
    size_t Size() const;

    // Frees any block, then allocates `size` bytes with GlobalAlloc(`flags`).
    // True when a block was got.
    bool AllocateMemory(size_t size, UINT flags);
    // Locks the block once and keeps its address; false without a block or
    // when it is locked already.
    bool LockMemory();
    void UnlockMemory();
    // Unlocks and frees the block and forgets it.
    void FreeMemory();
    // Unlocks the block and forgets it without freeing it: the caller owns
    // the handle it read before.
    void ReleaseDontFreeMemory();

private:
    HGLOBAL handle_ = nullptr;
    void* pointer_ = nullptr;  // while locked
};

#pragma once

#include <cstdint>

#include "host/EngineTypes.h"
#include "host/GameFunction.h"

// A reference to an engine object that does not keep it alive: the object's
// index in the engine's object table and that slot's serial number. Once the
// object is destroyed the slot's serial changes, and Get() gives null without
// touching the freed object.
struct FWeakObjectPtr {
  int32_t ObjectIndex = -1;
  int32_t ObjectSerialNumber = 0;

  static FWeakObjectPtr To(UObject* object) {
    FWeakObjectPtr weak;
    GameFunction<void(FWeakObjectPtr*, UObject*)>("FWeakObjectPtr.operator=(UObject*)")(&weak,
                                                                                        object);
    return weak;
  }

  UObject* Get() const {
    return GameFunction<UObject*(const FWeakObjectPtr*)>("FWeakObjectPtr.Get()")(this);
  }
};

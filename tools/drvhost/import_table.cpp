#include "import_table.h"

namespace vornik::host {

std::vector<ImportSlot> ImportSlots(HMODULE module) {
  std::vector<ImportSlot> slots;
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!directory.VirtualAddress) return slots;
  for (auto* entry =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       entry->Name; ++entry) {
    // The name table lies beside the address table, which holds addresses
    // once the module is loaded.
    if (!entry->OriginalFirstThunk) continue;
    const char* library = reinterpret_cast<const char*>(base + entry->Name);
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
    auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++addresses) {
      std::string function;
      if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
        function =
            reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
      slots.push_back({library, function, reinterpret_cast<void**>(&addresses->u1.Function)});
    }
  }
  return slots;
}

bool RewriteSlot(void** slot, void* address) {
  DWORD protection = 0;
  if (!VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection)) return false;
  *slot = address;
  VirtualProtect(slot, sizeof(*slot), protection, &protection);
  return true;
}

}  // namespace vornik::host

#include "DataModule_U.h"


#include "Exceptions_U.h"

namespace nFramework {

namespace {
std::map<std::string, std::string>& Formularios() {
  static std::map<std::string, std::string> formularios;
  return formularios;
}
}  // namespace

void TnDataModule::GerarPrincAction(TnActionList&, TNotifyEvent, const TnPerModulos&) {}

std::string TnDataModule::GetFormClass() const {
  auto it = Formularios().find(UpperCase(ClassName()));
  return it == Formularios().end() ? std::string() : it->second;
}

TClientDataSet& TnDataModule::AddClientDataSet(std::string aName) {
  auto ds = std::make_unique<TClientDataSet>();
  ds->Name = aName;
  return AddComponent<TClientDataSet>(std::move(aName), std::move(ds));
}

void TnDataModule::ComponenteAusente(std::string_view aName) const {
  throw EInternalError(std::string(ClassName()) + " não tem o componente " + std::string(aName));
}

void nRegistrarFormulario(std::string_view aClasseProcesso, std::string_view aClasseFormulario) {
  Formularios()[UpperCase(aClasseProcesso)] = std::string(aClasseFormulario);
}

void nRemoverFormulario(std::string_view aClasseProcesso) { Formularios().erase(UpperCase(aClasseProcesso)); }

}  // namespace nFramework

#include "Platform/Linux/Update/LoggedUpdateUserInterface.hpp"

#include "Platform/Platform.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/System/System.hpp"

namespace orrelith::platform {

void LoggedUpdateUserInterface::showOffer(const UpdateOffer& offer, std::function<void(UpdateOfferAnswer)> answered) {
    system().log(offer.title() + ": " + offer.applicationName + " " + offer.newVersion +
                 " will be offered when it next runs with a display");
    mainQueue().async([answered = std::move(answered)] { answered(UpdateOfferAnswer::remindMeLater); });
}

} // namespace orrelith::platform

// Text comparison through ICU's collation for the default locale at secondary strength,
// which ignores case as CompareString with NORM_IGNORECASE does.
#include <unicode/coll.h>

#include <memory>
#include <string>

#include "platform/linux/settings/IcuText.h"
#include "platform/linux/settings/LinuxProgramPorts.h"

namespace {

class IcuTextCompare final : public TextCompare {
  public:
    IcuTextCompare() {
        // The C/POSIX locale maps to en_US_POSIX, whose collation is code-point order with
        // case at the first level; the root collation stands in for it.
        icu::Locale locale = icu::Locale::getDefault();
        if (std::string(locale.getVariant()) == "POSIX") locale = icu::Locale::getRoot();
        UErrorCode status = U_ZERO_ERROR;
        collator_.reset(icu::Collator::createInstance(locale, status));
        if (U_FAILURE(status)) collator_.reset();
        if (collator_) collator_->setStrength(icu::Collator::SECONDARY);
    }

    int CompareIgnoringCase(const std::wstring& a, const std::wstring& b) const override {
        if (!collator_) return FallbackCompare(a, b);
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult result = collator_->compare(ToIcu(a), ToIcu(b), status);
        if (U_FAILURE(status)) return FallbackCompare(a, b);
        return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
    }

  private:
    // Without a collator: ICU's case folding, then code-point order.
    static int FallbackCompare(const std::wstring& a, const std::wstring& b) {
        const int c = ToIcu(a).caseCompare(ToIcu(b), U_FOLD_CASE_DEFAULT);
        return (c > 0) - (c < 0);
    }

    std::unique_ptr<icu::Collator> collator_;
};

}  // namespace

std::unique_ptr<TextCompare> MakeIcuTextCompare() {
    return std::make_unique<IcuTextCompare>();
}

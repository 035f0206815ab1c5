#include "toolkit/bevel.h"

#include "toolkit/form.h"

void Bevel::create(Form& form, const CreateArgs& args) {
    bounds_ = args.bounds;
    form.addBevel(args.bounds, args.fillsClient);
}

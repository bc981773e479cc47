// Where the product lives on the web. Until it has a site of its own these
// are addresses on a domain reserved for examples.
#pragma once

#define KS_SUPPORT_ADDRESS "support@example.com"
#define KS_HOME_PAGE "http://www.example.com/kestrabel/"

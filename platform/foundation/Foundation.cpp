#include "Foundation.h"
#include "NSArray.h"
#include "NSAttributedString.h"
#include "NSBundle.h"
#include "NSData.h"
#include "NSDictionary.h"
#include "NSFileManager.h"
#include "NSNumber.h"
#include "NSProcessInfo.h"
#include "NSString.h"
#include "NSURL.h"

void registerFoundationClasses() {
    for (auto staticClass : {
             &NSObject::staticClass,
             &NSString::staticClass,
             &NSMutableString::staticClass,
             &NSAttributedString::staticClass,
             &NSNumber::staticClass,
             &NSData::staticClass,
             &NSDate::staticClass,
             &NSArray::staticClass,
             &NSMutableArray::staticClass,
             &NSDictionary::staticClass,
             &NSMutableDictionary::staticClass,
             &NSBundle::staticClass,
             &NSURL::staticClass,
             &NSFileManager::staticClass,
             &NSProcessInfo::staticClass,
         })
        staticClass();
}
